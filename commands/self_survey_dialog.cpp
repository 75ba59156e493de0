#include "commands/self_survey_dialog.h"

namespace halvix::commands {

TForm_SelfSurvey::TForm_SelfSurvey(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_SelfSurvey"));
  setWindowTitle(QStringLiteral("Self Survey"));
}

}  // namespace halvix::commands
