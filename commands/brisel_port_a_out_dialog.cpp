#include "commands/brisel_port_a_out_dialog.h"

namespace halvix::commands {

TForm_BriselPortAOut::TForm_BriselPortAOut(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_BriselPortAOut"));
  setWindowTitle(QStringLiteral("Port A Output"));
}

}  // namespace halvix::commands
