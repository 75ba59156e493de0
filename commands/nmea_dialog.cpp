#include "commands/nmea_dialog.h"

namespace halvix::commands {

TForm_NMEA::TForm_NMEA(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_NMEA"));
  setWindowTitle(QStringLiteral("NMEA Output"));
}

}  // namespace halvix::commands
