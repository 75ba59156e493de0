#include "commands/initial_pos_dialog.h"

namespace halvix::commands {

TForm_InitialPos::TForm_InitialPos(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_InitialPos"));
  setWindowTitle(QStringLiteral("Upload Accurate Position"));
}

}  // namespace halvix::commands
