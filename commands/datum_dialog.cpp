#include "commands/datum_dialog.h"

namespace halvix::commands {

TForm_Datum::TForm_Datum(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Datum"));
  setWindowTitle(QStringLiteral("Select Datum"));
}

}  // namespace halvix::commands
