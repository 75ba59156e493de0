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
#include "reports/config_layouts.h"

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
  Controls& c = controls_;

  namespace dialog = widgets::dialog;
  QVBoxLayout* g = nullptr;
  c.Panel_Characteristics =
      dialog::Section(this, top, "Panel_Characteristics", QStringLiteral("PPS Characteristics"),
                      QStringLiteral("PPS Characteristics: Packet 8E/8F-4A"), &g);
  {
    dialog::ValueRows rows(c.Panel_Characteristics, g);
    c.ComboBox_Switch = rows.list("ComboBox_Switch", {"Disabled", "Enabled"},
                                  QStringLiteral("PPS Switch"), "Label_Switch");
    c.ComboBox_TimeBase = rows.list("ComboBox_TimeBase", {"GPS", "UTC"},
                                    QStringLiteral("Time Base"), "Label_TimeBase");
    c.ComboBox_Polarity = rows.list("ComboBox_Polarity", {"Positive", "Negative"},
                                    QStringLiteral("Polarity"), "Label_Polarity");
    c.Edit_Offset = rows.edit("Edit_Offset", QStringLiteral("PPS Offset"), "Label_Offset",
                              QStringLiteral("s"), "Label_OffsetUnit");
    c.Edit_Bias = rows.edit("Edit_Bias", QStringLiteral("Bias Uncertainty Threshold"), "Label_Bias",
                            QStringLiteral("m"), "Label_BiasUnit");
  }
  c.Button_SetChar =
      dialog::LoneButton(c.Panel_Characteristics, g, "Button_SetChar",
                         QStringLiteral("&Set Characteristics"), [this] { Button_SetCharClick(); });

  c.Panel_Output = dialog::Section(this, top, "Panel_Output", QStringLiteral("PPS Output"),
                                   QStringLiteral("PPS Output: Packet 8E/8F-4E"), &g);
  c.Label_OutputOptions =
      dialog::Label(c.Panel_Output, QStringLiteral("Output the PPS:"), "Label_OutputOptions");
  g->addWidget(c.Label_OutputOptions);
  dialog::RadioColumn(
      c.Panel_Output, g,
      {{"RadioButton_Always", QStringLiteral("Always"), &c.RadioButton_Always},
       {"RadioButton_1SV", QStringLiteral("When tracking at least one satellite"),
        &c.RadioButton_1SV},
       {"RadioButton_3SV", QStringLiteral("When tracking at least three satellites"),
        &c.RadioButton_3SV}});
  c.Button_SetOutput =
      dialog::LoneButton(c.Panel_Output, g, "Button_SetOutput", QStringLiteral("&Set &Output"),
                         [this] { Button_SetOutputClick(); });

  c.Panel_Width = dialog::Section(this, top, "Panel_Width", QStringLiteral("PPS Width"),
                                  QStringLiteral("PPS Width: Packet 8E/8F-4F (Corvel only)"), &g);
  {
    dialog::ValueRows rows(c.Panel_Width, g);
    c.Edit_Width = rows.edit("Edit_Width", QStringLiteral("PPS Width"), "Label_Width",
                             QStringLiteral("seconds"), "Label_Seconds");
  }
  c.Label_Width = c.Panel_Width->findChild<QLabel*>(QStringLiteral("Label_Width"));
  c.Label_Seconds = c.Panel_Width->findChild<QLabel*>(QStringLiteral("Label_Seconds"));
  c.Button_Width =
      dialog::LoneButton(c.Panel_Width, g, "Button_Width", QStringLiteral("Set &Width"),
                         [this] { Button_WidthClick(); });

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
  const Controls& c = controls_;
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
  const Controls& c = controls_;
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
      widgets::dialog::FieldReader(context_.prompts).real(controls_.Edit_Width, QStringLiteral("PPS Width"));
  if (width) SetPpsWidth8E4F(context_.link, *width);
}

void TForm_TimingOut::showCharacteristics(const reports::PpsCharacteristicsReport& r) {
  namespace ui = widgets::dialog;
  Controls& c = controls_;
  ui::SelectIndex(c.ComboBox_Switch, r.driverSwitch);
  ui::SelectIndex(c.ComboBox_TimeBase, r.timeBase);
  ui::SelectIndex(c.ComboBox_Polarity, r.polarity);
  c.Edit_Offset->setText(QString::asprintf("%.3e", r.ppsOffset));
  c.Edit_Bias->setText(QString::asprintf("%.2f", r.biasUncertainty));
}

void TForm_TimingOut::showOutputMode(int mode) {
  Controls& c = controls_;
  QRadioButton* which = mode == 2   ? c.RadioButton_Always
                        : mode == 3 ? c.RadioButton_1SV
                        : mode == 4 ? c.RadioButton_3SV
                                    : nullptr;
  widgets::dialog::CheckOnly({c.RadioButton_Always, c.RadioButton_1SV, c.RadioButton_3SV}, which);
}

void TForm_TimingOut::showWidth(double width) {
  controls_.Edit_Width->setText(QString::asprintf("%.3e", width));
}

void TForm_TimingOut::enableOutputControls(bool enabled) {
  Controls& c = controls_;
  for (QWidget* w : std::initializer_list<QWidget*>{c.Edit_Width, c.Button_Width, c.RadioButton_Always,
                                                    c.RadioButton_1SV, c.RadioButton_3SV,
                                                    c.Button_SetOutput}) {
    w->setEnabled(enabled);
  }
  for (QLabel* label : {c.Label_Width, c.Label_Seconds, c.Label_OutputOptions}) {
    widgets::dialog::EnableCaption(label, enabled);
  }
}

}  // namespace halvix::commands
