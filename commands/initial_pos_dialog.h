// TForm_InitialPos: the dialog that uploads an accurate position, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_InitialPos : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_InitialPos(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
