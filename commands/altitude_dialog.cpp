#include "commands/altitude_dialog.h"

namespace halvix::commands {

TForm_Altitude::TForm_Altitude(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Altitude"));
  setWindowTitle(QStringLiteral("2D Altitude"));
}

}  // namespace halvix::commands
