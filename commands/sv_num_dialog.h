// TForm_SVNum: the dialog of the satellite used in one-satellite mode, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_SVNum : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_SVNum(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
