// TForm_UTCParam: the view window of the UTC parameters, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_UTCParam : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_UTCParam(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
