#include "commands/sv_num_dialog.h"

namespace halvix::commands {

TForm_SVNum::TForm_SVNum(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_SVNum"));
  setWindowTitle(QStringLiteral("One-Satellite SV"));
}

}  // namespace halvix::commands
