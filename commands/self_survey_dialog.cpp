#include "commands/self_survey_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

TForm_SelfSurvey::TForm_SelfSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts,
                                   QWidget* parent)
    : QDialog(parent), link_(link), prompts_(prompts) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_SelfSurvey", QStringLiteral("Self Survey"),
                                     QStringLiteral("Self Survey Parameters: Packet 8E/8F-A9"));
  Controls& c = controls;
  c.CheckBox_EnableSurvey =
      widgets::dialog::Check(this, "CheckBox_EnableSurvey", QStringLiteral("Enable Self Survey"));
  c.CheckBox_Flag = widgets::dialog::Check(this, "CheckBox_Flag", QStringLiteral("Auto Save Position"));
  top->addWidget(c.CheckBox_EnableSurvey);
  top->addWidget(c.CheckBox_Flag);
  c.Edit_Limit = widgets::dialog::Edit(this, "Edit_Limit");
  widgets::dialog::ValueRows rows(this, top);
  rows.add(QStringLiteral("Self Survey Limit"), c.Edit_Limit, {}, "Label_Limit");
  top->addSpacing(4);
  const widgets::dialog::SetCloseButtons buttons = widgets::dialog::SetClose(
      this, top, [this] { Button_SetClick(); }, [this] { Button_CloseClick(); });
  c.Button_Set = buttons.set;
  c.Button_Close = buttons.close;
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_SelfSurvey::FormActivate() { SelfSurveyParametersRequest8EA9(link_); }

void TForm_SelfSurvey::Button_SetClick() {
  const Controls& c = controls;
  const std::optional<long long> length =
      widgets::dialog::FieldReader(prompts_).longInteger(c.Edit_Limit, QStringLiteral("Self Survey Limit"));
  if (!length) return;
  // The length is a signed long on the wire: a negative one keeps its bits.
  SetSelfSurveyParameters8EA9(link_, c.CheckBox_EnableSurvey->isChecked() ? 1 : 0,
                              c.CheckBox_Flag->isChecked() ? 1 : 0,
                              static_cast<std::uint32_t>(static_cast<std::int32_t>(*length)));
}

void TForm_SelfSurvey::Button_CloseClick() { hide(); }

}  // namespace halvix::commands
