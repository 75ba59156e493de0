#include "commands/auto_out_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "reports/window_context.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

namespace {

constexpr std::array<const char*, TForm_AutoOut::kBits.size()> kCaptions = {
    "Packet 40",  "Packets 58, 5B", "Packet 4F", "Packet 58", "Packet 48",
    "Packet 49",  "Packet 41",      "Packets 6D, 46, 4B, 82",
    "Packets 42, 43, 4A, 54, 56, 83, 84, 8F-20", "Packet 5A"};

}  // namespace

TForm_AutoOut::TForm_AutoOut(reports::WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  QVBoxLayout* top =
      widgets::dialog::SetUpDialog(this, "Form_AutoOut", QStringLiteral("Port B Automatic Output"));
  Controls& c = controls_;
  QVBoxLayout* g = nullptr;
  c.Panel_Mask = widgets::dialog::Group(this, "Panel_Mask", {},
                           QStringLiteral("Port B Automatic Output Mask: Packet 8E/8F-4D"), &g);
  for (std::size_t i = 0; i < kBits.size(); ++i) {
    const QByteArray name = QByteArray("CheckBox_Bit") + QByteArray::number(kBits[i]);
    c.CheckBox_Bit[i] = widgets::dialog::Check(c.Panel_Mask, name.constData(), QString::fromLatin1(kCaptions[i]));
    g->addWidget(c.CheckBox_Bit[i]);
  }
  top->addWidget(c.Panel_Mask);

  widgets::dialog::OkApplyClose(this, top, c, [this] { return Button_ApplyClick(); });
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

QCheckBox* TForm_AutoOut::bitBox(int bit) const {
  for (std::size_t i = 0; i < kBits.size(); ++i) {
    if (kBits[i] == bit) return controls_.CheckBox_Bit[i];
  }
  return nullptr;
}

void TForm_AutoOut::FormActivate() { AutomaticOutputMaskRequest8E4D(context_.link); }

void TForm_AutoOut::Button_ApplyClick() {
  std::uint32_t mask = 0;
  for (std::size_t i = 0; i < kBits.size(); ++i) {
    if (controls_.CheckBox_Bit[i]->isChecked()) mask |= std::uint32_t{1} << kBits[i];
  }
  SetAutomaticOutputMask8E4D(context_.link, mask);
}

void TForm_AutoOut::showMask(std::uint32_t mask) {
  for (std::size_t i = 0; i < kBits.size(); ++i) {
    controls_.CheckBox_Bit[i]->setChecked(((mask >> kBits[i]) & 1u) != 0);
  }
}

}  // namespace halvix::commands
