#include "reports/utc_param_window.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "widgets/value_panel.h"
#include "reports/config_layouts.h"

namespace halvix::reports {

namespace ui = widgets::dialog;

TForm_UTCParam::TForm_UTCParam(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  QVBoxLayout* top = ui::SetUpDialog(this, "Form_UTCParam", QStringLiteral("UTC Parameters"),
                                     QStringLiteral("UTC Parameters: Packet 0x4F"));
  Controls& c = controls_;
  struct Row {
    widgets::ValuePanel* Controls::*slot;
    const char* name;
    const char* caption;
    const char* labelName;
  };
  const Row rowsSpec[] = {
      {&Controls::Panel_A0, "Panel_A0", "A0", "Label_A0"},
      {&Controls::Panel_A1, "Panel_A1", "A1", "Label_A1"},
      {&Controls::Panel_AETls, "Panel_AETls", "delta t LS", "Label_AETls"},
      {&Controls::Panel_Tot, "Panel_Tot", "t ot", "Label_Tot"},
      {&Controls::Panel_WNt, "Panel_WNt", "WN t", "Label_WNt"},
      {&Controls::Panel_WNlsf, "Panel_WNlsf", "WN LSF", "Label_WNlsf"},
      {&Controls::Panel_DN, "Panel_DN", "DN", "Label_DN"},
      {&Controls::Panel_AETlsf, "Panel_AETlsf", "delta t LSF", "Label_AETlsf"},
  };
  ui::ValueRows rows(this, top);
  for (const Row& r : rowsSpec) {
    auto* p = new widgets::ValuePanel(this);
    p->setObjectName(QString::fromLatin1(r.name));
    p->setMinimumWidth(p->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000000000")) + 8);
    c.*r.slot = p;
    rows.add(QString::fromLatin1(r.caption), p, {}, r.labelName);
  }
  std::vector<QPushButton*> made;
  ui::ButtonRow(this, top,
                {{"Button_Query", QStringLiteral("&Refresh"), [this] { Button_QueryClick(); }}},
                &made);
  c.Button_Query = made[0];
  ui::OnActivate(this, [this] { FormActivate(); });
}

void TForm_UTCParam::FormActivate() {
  const Controls& c = controls_;
  for (widgets::ValuePanel* p : {c.Panel_A0, c.Panel_A1, c.Panel_AETls, c.Panel_Tot, c.Panel_WNt,
                        c.Panel_WNlsf, c.Panel_DN, c.Panel_AETlsf}) {
    p->setText(QString());
  }
  commands::UtcParametersRequest2F(link_);
}

void TForm_UTCParam::Button_QueryClick() { FormActivate(); }

void TForm_UTCParam::showUtcParameters(const UtcParameters& r) {
  Controls& c = controls_;
  c.Panel_A0->setText(QString::asprintf("%8f", r.a0));
  c.Panel_A1->setText(QString::asprintf("%8f", r.a1));
  c.Panel_AETls->setText(QString::number(r.deltaTls));
  c.Panel_Tot->setText(QString::asprintf("%.2f", r.tot));
  c.Panel_WNt->setText(QString::number(r.wnT));
  c.Panel_WNlsf->setText(QString::number(r.wnLsf));
  c.Panel_DN->setText(QString::number(r.dn));
  c.Panel_AETlsf->setText(QString::number(r.deltaTlsf));
}

}  // namespace halvix::reports
