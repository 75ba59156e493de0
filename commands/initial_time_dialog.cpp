#include "commands/initial_time_dialog.h"

namespace halvix::commands {

TForm_InitialTime::TForm_InitialTime(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_InitialTime"));
  setWindowTitle(QStringLiteral("Time From PC"));
}

}  // namespace halvix::commands
