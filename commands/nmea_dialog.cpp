#include "commands/nmea_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/operator_prompts.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "reports/config_layouts.h"

namespace halvix::commands {

namespace {

constexpr int kMaxInterval = 255;  // one byte on the wire

}  // namespace

TForm_NMEA::TForm_NMEA(link::SerialLink& link, platform::OperatorPrompts& prompts, QWidget* parent)
    : QDialog(parent), link_(link), prompts_(prompts) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_NMEA", QStringLiteral("NMEA Output"),
                                     QStringLiteral("NMEA Output: Packets 0x7A, 0x7B"));
  Controls& c = controls_;
  c.Edit_Interval = widgets::dialog::ValueRows(this, top).edit(
      "Edit_Interval", QStringLiteral("Output Interval:"), "Label_Interval",
      QStringLiteral("seconds"), "Label_Seconds");
  top->addWidget(widgets::dialog::Label(this, QStringLiteral("Message Mask:"), "Label_Mask"));
  const struct {
    const char* name;
    const char* caption;
    QCheckBox** slot;
  } boxes[] = {{"CheckBox_GGA", "GGA", &c.CheckBox_GGA}, {"CheckBox_GLL", "GLL", &c.CheckBox_GLL},
               {"CheckBox_VTG", "VTG", &c.CheckBox_VTG}, {"CheckBox_GSV", "GSV", &c.CheckBox_GSV},
               {"CheckBox_GSA", "GSA", &c.CheckBox_GSA}, {"CheckBox_ZDA", "ZDA", &c.CheckBox_ZDA},
               {"CheckBox_RMC", "RMC", &c.CheckBox_RMC}};
  auto* grid = new QGridLayout;
  grid->setContentsMargins(12, 0, 0, 0);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(2);
  int i = 0;
  for (const auto& b : boxes) {
    *b.slot = widgets::dialog::Check(this, b.name, QString::fromLatin1(b.caption));
    grid->addWidget(*b.slot, i / 4, i % 4);
    ++i;
  }
  top->addLayout(grid);
  top->addSpacing(4);
  widgets::dialog::OkApplyClose(this, top, c, [this] { return Button_ApplyClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::array<TForm_NMEA::SentenceBox, 7> TForm_NMEA::sentenceBoxes() const {
  const Controls& c = controls_;
  const std::array<QCheckBox*, reports::kNmeaSentences.size()> boxes = {
      c.CheckBox_GGA, c.CheckBox_GLL, c.CheckBox_VTG, c.CheckBox_GSV,
      c.CheckBox_GSA, c.CheckBox_ZDA, c.CheckBox_RMC};
  std::array<SentenceBox, 7> out{};
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = {boxes[i], reports::kNmeaSentences[i].bit};
  return out;
}

void TForm_NMEA::FormActivate() { NmeaOutputRequest7A(link_); }

bool TForm_NMEA::Button_ApplyClick() {
  const widgets::dialog::FieldReader reader(prompts_);
  const QString field = QStringLiteral("Output Interval");
  const std::optional<int> interval = reader.integer(controls_.Edit_Interval, field);
  if (!interval) return false;
  // Only the low byte would reach the receiver: 300 s would become 44 s.
  if (*interval < 0 || *interval > kMaxInterval) {
    prompts_.message(QStringLiteral("Error"),
                     QStringLiteral("%1: '%2' is out of range (0 to %3 seconds)")
                         .arg(field, controls_.Edit_Interval->text())
                         .arg(kMaxInterval),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
    controls_.Edit_Interval->setFocus();
    return false;
  }
  std::uint32_t mask = 0;
  for (const SentenceBox& s : sentenceBoxes()) {
    if (s.box->isChecked()) mask |= 1u << s.bit;
  }
  SetNmeaOutput7A(link_, static_cast<std::uint8_t>(*interval), mask);
  return true;
}

void TForm_NMEA::showSettings(const reports::NmeaSettings& r) {
  controls_.Edit_Interval->setText(QString::number(r.interval));
  for (const SentenceBox& s : sentenceBoxes()) s.box->setChecked(((r.mask >> s.bit) & 1u) != 0);
}

}  // namespace halvix::commands
