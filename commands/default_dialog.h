// TForm_Default: the dialog that reverts configuration segments to their defaults, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_Default : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Default(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
