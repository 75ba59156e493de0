#include "commands/default_dialog.h"

namespace halvix::commands {

TForm_Default::TForm_Default(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Default"));
  setWindowTitle(QStringLiteral("Revert to Default Settings"));
}

}  // namespace halvix::commands
