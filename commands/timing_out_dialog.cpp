#include "commands/timing_out_dialog.h"

namespace halvix::commands {

TForm_TimingOut::TForm_TimingOut(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_TimingOut"));
  setWindowTitle(QStringLiteral("Timing Outputs"));
}

}  // namespace halvix::commands
