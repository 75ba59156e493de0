#include "commands/serial_dialog.h"

namespace halvix::commands {

TForm_Serial::TForm_Serial(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Serial"));
  setWindowTitle(QStringLiteral("Serial Port Configuration"));
}

}  // namespace halvix::commands
