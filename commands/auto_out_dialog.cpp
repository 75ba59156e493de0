#include "commands/auto_out_dialog.h"

namespace halvix::commands {

TForm_AutoOut::TForm_AutoOut(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_AutoOut"));
  setWindowTitle(QStringLiteral("Port B Automatic Output"));
}

}  // namespace halvix::commands
