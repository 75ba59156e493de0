// TForm_InitialTime: the dialog that uploads the PC clock as GPS time, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_InitialTime : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_InitialTime(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
