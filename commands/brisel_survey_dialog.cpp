#include "commands/brisel_survey_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

TForm_BriselSurvey::TForm_BriselSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts,
                                       QWidget* parent)
    : QDialog(parent), link_(link), prompts_(prompts) {
  // The caption has two spaces.
  QVBoxLayout* top =
      widgets::dialog::SetUpDialog(this, "Form_BriselSurvey", QStringLiteral("Set Survey  Limit"));
  Controls& c = controls_;
  c.Edit_Limit = widgets::dialog::ValueRows(this, top).edit(
      "Edit_Limit", QStringLiteral("Auto-survey Limit"), "Label_Limit");
  top->addSpacing(4);
  widgets::dialog::SetClose(this, top, c, [this] { Button_SetClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_BriselSurvey::FormActivate() { SurveyLimitRequest8E4B(link_); }

void TForm_BriselSurvey::Button_SetClick() {
  const std::optional<unsigned long> limit = widgets::dialog::FieldReader(prompts_).unsignedInteger(
      controls_.Edit_Limit, QStringLiteral("Auto-survey Limit"));
  if (!limit) return;
  SetSurveyLimit8E4B(link_, static_cast<std::uint32_t>(*limit));
}

void TForm_BriselSurvey::showLimit(std::uint32_t limit) {
  controls_.Edit_Limit->setText(QString::number(static_cast<std::int32_t>(limit)));
}

}  // namespace halvix::commands
