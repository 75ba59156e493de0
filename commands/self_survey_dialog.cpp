#include "commands/self_survey_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "reports/config_layouts.h"

namespace halvix::commands {

TForm_SelfSurvey::TForm_SelfSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts,
                                   QWidget* parent)
    : QDialog(parent), link_(link), prompts_(prompts) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_SelfSurvey", QStringLiteral("Self Survey"),
                                     QStringLiteral("Self Survey Parameters: Packet 8E/8F-A9"));
  Controls& c = controls_;
  widgets::dialog::CheckColumn(
      this, top,
      {{"CheckBox_EnableSurvey", QStringLiteral("Enable Self Survey"), &c.CheckBox_EnableSurvey},
       {"CheckBox_Flag", QStringLiteral("Auto Save Position"), &c.CheckBox_Flag}});
  c.Edit_Limit = widgets::dialog::ValueRows(this, top).edit(
      "Edit_Limit", QStringLiteral("Self Survey Limit"), "Label_Limit");
  top->addSpacing(4);
  widgets::dialog::SetClose(this, top, c, [this] { Button_SetClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_SelfSurvey::FormActivate() { SelfSurveyParametersRequest8EA9(link_); }

void TForm_SelfSurvey::Button_SetClick() {
  const Controls& c = controls_;
  const std::optional<long long> length =
      widgets::dialog::FieldReader(prompts_).longInteger(c.Edit_Limit, QStringLiteral("Self Survey Limit"));
  if (!length) return;
  // The length is a signed long on the wire: a negative one keeps its bits.
  SetSelfSurveyParameters8EA9(link_, c.CheckBox_EnableSurvey->isChecked() ? 1 : 0,
                              c.CheckBox_Flag->isChecked() ? 1 : 0,
                              static_cast<std::uint32_t>(static_cast<std::int32_t>(*length)));
}

void TForm_SelfSurvey::showSettings(const reports::SelfSurveyReport& r) {
  controls_.CheckBox_EnableSurvey->setChecked(r.enabled);
  controls_.CheckBox_Flag->setChecked(r.savePosition);
  controls_.Edit_Limit->setText(QString::asprintf("%ld", static_cast<long>(r.length)));
}

}  // namespace halvix::commands
