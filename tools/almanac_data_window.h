// TForm_AlmanacData: the view window of one satellite's almanac, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_AlmanacData : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_AlmanacData(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
