#include "commands/brisel_survey_dialog.h"

namespace halvix::commands {

TForm_BriselSurvey::TForm_BriselSurvey(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_BriselSurvey"));
  setWindowTitle(QStringLiteral("Set Survey  Limit"));
}

}  // namespace halvix::commands
