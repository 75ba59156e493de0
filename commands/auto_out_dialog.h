// TForm_AutoOut: the dialog of the port B automatic output mask, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_AutoOut : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_AutoOut(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
