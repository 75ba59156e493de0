// TForm_AddTiming: the view window of the additional timing packets, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_AddTiming : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_AddTiming(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
