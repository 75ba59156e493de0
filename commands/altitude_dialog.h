// TForm_Altitude: the dialog of the fixed altitude used in 2D mode, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_Altitude : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Altitude(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
