#include "commands/gps_dialog.h"

namespace halvix::commands {

TForm_GPS::TForm_GPS(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_GPS"));
  setWindowTitle(QStringLiteral("Receiver Configuration"));
}

}  // namespace halvix::commands
