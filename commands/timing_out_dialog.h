// TForm_TimingOut: the dialog of the PPS output settings, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_TimingOut : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_TimingOut(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
