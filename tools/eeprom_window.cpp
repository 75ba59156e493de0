#include "tools/eeprom_window.h"

namespace halvix::tools {

TForm_EEPROM::TForm_EEPROM(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_EEPROM"));
  setWindowTitle(QStringLiteral("EEPROM Status"));
}

}  // namespace halvix::tools
