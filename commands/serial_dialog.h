// TForm_Serial: the dialog of the receiver's serial port settings, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_Serial : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Serial(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
