#include "commands/timing_out_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "reports/window_context.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

namespace {

// A list with no selection goes out as 0xFF.
std::uint8_t IndexByte(const QComboBox* list) {
  return static_cast<std::uint8_t>(list->currentIndex());
}

}  // namespace

TForm_TimingOut::TForm_TimingOut(reports::WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_TimingOut", QStringLiteral("Timing Outputs"));
  Controls& c = controls;

  QVBoxLayout* g = nullptr;
  c.Panel_Characteristics =
      widgets::dialog::Group(this, "Panel_Characteristics", QStringLiteral("PPS Characteristics"),
                QStringLiteral("PPS Characteristics: Packet 8E/8F-4A"), &g);
  {
    QWidget* p = c.Panel_Characteristics;
    widgets::dialog::ValueRows rows(p, g);
    c.ComboBox_Switch = widgets::dialog::List(p, "ComboBox_Switch", {"Disabled", "Enabled"});
    c.ComboBox_TimeBase = widgets::dialog::List(p, "ComboBox_TimeBase", {"GPS", "UTC"});
    c.ComboBox_Polarity = widgets::dialog::List(p, "ComboBox_Polarity", {"Positive", "Negative"});
    c.Edit_Offset = widgets::dialog::Edit(p, "Edit_Offset");
    c.Edit_Bias = widgets::dialog::Edit(p, "Edit_Bias");
    rows.add(QStringLiteral("PPS Switch"), c.ComboBox_Switch, {}, "Label_Switch");
    rows.add(QStringLiteral("Time Base"), c.ComboBox_TimeBase, {}, "Label_TimeBase");
    rows.add(QStringLiteral("Polarity"), c.ComboBox_Polarity, {}, "Label_Polarity");
    rows.add(QStringLiteral("PPS Offset"), c.Edit_Offset, QStringLiteral("s"), "Label_Offset",
             "Label_OffsetUnit");
    rows.add(QStringLiteral("Bias Uncertainty Threshold"), c.Edit_Bias, QStringLiteral("m"),
             "Label_Bias", "Label_BiasUnit");
    std::vector<QPushButton*> made;
    widgets::dialog::ButtonRow(p, g,
                  {{"Button_SetChar", QStringLiteral("&Set Characteristics"),
                    [this] { Button_SetCharClick(); }}},
                  &made);
    c.Button_SetChar = made[0];
  }
  top->addWidget(c.Panel_Characteristics);

  c.Panel_Output = widgets::dialog::Group(this, "Panel_Output", QStringLiteral("PPS Output"),
                             QStringLiteral("PPS Output: Packet 8E/8F-4E"), &g);
  {
    QWidget* p = c.Panel_Output;
    c.Label_OutputOptions =
        widgets::dialog::Label(p, QStringLiteral("Output the PPS:"), "Label_OutputOptions");
    c.RadioButton_Always = widgets::dialog::Radio(p, "RadioButton_Always", QStringLiteral("Always"));
    c.RadioButton_1SV = widgets::dialog::Radio(p, "RadioButton_1SV",
                                  QStringLiteral("When tracking at least one satellite"));
    c.RadioButton_3SV = widgets::dialog::Radio(p, "RadioButton_3SV",
                                  QStringLiteral("When tracking at least three satellites"));
    for (QWidget* w : {static_cast<QWidget*>(c.Label_OutputOptions),
                       static_cast<QWidget*>(c.RadioButton_Always),
                       static_cast<QWidget*>(c.RadioButton_1SV),
                       static_cast<QWidget*>(c.RadioButton_3SV)}) {
      g->addWidget(w);
    }
    std::vector<QPushButton*> made;
    widgets::dialog::ButtonRow(p, g,
                  {{"Button_SetOutput", QStringLiteral("&Set &Output"),
                    [this] { Button_SetOutputClick(); }}},
                  &made);
    c.Button_SetOutput = made[0];
  }
  top->addWidget(c.Panel_Output);

  c.Panel_Width = widgets::dialog::Group(this, "Panel_Width", QStringLiteral("PPS Width"),
                            QStringLiteral("PPS Width: Packet 8E/8F-4F (Corvel only)"), &g);
  {
    QWidget* p = c.Panel_Width;
    widgets::dialog::ValueRows rows(p, g);
    c.Edit_Width = widgets::dialog::Edit(p, "Edit_Width");
    c.Label_Width = rows.add(QStringLiteral("PPS Width"), c.Edit_Width, QStringLiteral("seconds"),
                             "Label_Width", "Label_Seconds");
    c.Label_Seconds = p->findChild<QLabel*>(QStringLiteral("Label_Seconds"));
    std::vector<QPushButton*> made;
    widgets::dialog::ButtonRow(p, g,
                  {{"Button_Width", QStringLiteral("Set &Width"), [this] { Button_WidthClick(); }}},
                  &made);
    c.Button_Width = made[0];
  }
  top->addWidget(c.Panel_Width);

  c.Button_Close = widgets::dialog::CloseButton(this, top);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_TimingOut::FormActivate() {
  link::SerialLink& link = context_.link;
  PpsOutputRequest8E4E(link);
  context_.clock.sleepMs(kQueryGapMs);
  PpsCharacteristicsRequest8E4A(link);
  context_.clock.sleepMs(kQueryGapMs);
  PpsWidthRequest8E4F(link);
}

void TForm_TimingOut::Button_SetCharClick() {
  const Controls& c = controls;
  const widgets::dialog::FieldReader read(context_.prompts);
  const std::optional<double> offset = read.real(c.Edit_Offset, QStringLiteral("PPS Offset"));
  if (!offset) return;
  const std::optional<float> bias =
      read.single(c.Edit_Bias, QStringLiteral("Bias Uncertainty Threshold"));
  if (!bias) return;
  PpsCharacteristics pps;
  pps.driverSwitch = IndexByte(c.ComboBox_Switch);
  pps.timeBase = IndexByte(c.ComboBox_TimeBase);
  pps.polarity = IndexByte(c.ComboBox_Polarity);
  pps.ppsOffset = *offset;
  pps.biasUncertaintyThreshold = *bias;
  SetPpsCharacteristics8E4A(context_.link, pps);
}

void TForm_TimingOut::Button_SetOutputClick() {
  const Controls& c = controls;
  std::uint8_t mode = 0;
  if (c.RadioButton_Always->isChecked()) {
    mode = kPpsAlways;
  } else if (c.RadioButton_1SV->isChecked()) {
    mode = kPpsTrackingOne;
  } else if (c.RadioButton_3SV->isChecked()) {
    mode = kPpsTrackingThree;
  } else {
    return;
  }
  SetPpsOutput8E4E(context_.link, mode);
}

void TForm_TimingOut::Button_WidthClick() {
  const std::optional<double> width =
      widgets::dialog::FieldReader(context_.prompts).real(controls.Edit_Width, QStringLiteral("PPS Width"));
  if (width) SetPpsWidth8E4F(context_.link, *width);
}

void TForm_TimingOut::Button_CloseClick() { hide(); }

}  // namespace halvix::commands
