#include "commands/brisel_port_a_out_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

namespace {

constexpr std::uint8_t kSubCode0B = 0x0B;
constexpr std::uint8_t kSubCodeAD = 0xAD;

// The value of the checked button; a group always has one.
std::uint8_t checkedValue(const std::array<QRadioButton*, 4>& group) {
  for (std::size_t v = 0; v < group.size(); ++v) {
    if (group[v]->isChecked()) return static_cast<std::uint8_t>(v);
  }
  return kPortAAtBoth;
}

}  // namespace

TForm_BriselPortAOut::TForm_BriselPortAOut(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  QVBoxLayout* top = widgets::dialog::SetUpDialog(this, "Form_BriselPortAOut", QStringLiteral("Port A Output"));
  Controls& c = controls_;
  auto* groups = new QHBoxLayout;
  groups->setSpacing(8);
  top->addLayout(groups);
  const auto group = [&](const char* name, const char* title, const char* request,
                         const char* suffix, std::array<QRadioButton**, 4> slots) {
    QVBoxLayout* inner = nullptr;
    QGroupBox* box = widgets::dialog::Group(this, name, QString::fromLatin1(title), {}, &inner);
    const char* stems[] = {"RadioButton_Request", "RadioButton_PPS", "RadioButton_Event",
                           "RadioButton_Both"};
    const QString captions[] = {QString::fromLatin1(request), QStringLiteral("Only At PPS"),
                                QStringLiteral("Only At Event Input"),
                                QStringLiteral("At Both Event Input and PPS")};
    for (int v = 0; v < 4; ++v) {
      const QByteArray n = QByteArray(stems[v]) + suffix;
      *slots[static_cast<std::size_t>(v)] = widgets::dialog::Radio(box, n.constData(), captions[v]);
      inner->addWidget(*slots[static_cast<std::size_t>(v)]);
    }
    groups->addWidget(box);
  };
  group("GroupBox_0B", "Super Packet 8F-0B:", "Only Respond to 8E-0B", "0B",
        {&c.RadioButton_Request0B, &c.RadioButton_PPS0B, &c.RadioButton_Event0B,
         &c.RadioButton_Both0B});
  group("GroupBox_AD", "Super Packet 8F-AD:", "Only Respond to 8E-AD", "AD",
        {&c.RadioButton_RequestAD, &c.RadioButton_PPSAD, &c.RadioButton_EventAD,
         &c.RadioButton_BothAD});
  c.RadioButton_Both0B->setChecked(true);
  c.RadioButton_BothAD->setChecked(true);

  const widgets::dialog::StandardButtons b = widgets::dialog::OkApplyClose(
      this, top, widgets::dialog::Applying([this] { Button_ApplyClick(); }), "Button_Cancel");
  c.Button_OK = b.ok;
  c.Button_Apply = b.apply;
  c.Button_Cancel = b.close;
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::array<QRadioButton*, 4> TForm_BriselPortAOut::group0B() const {
  const Controls& c = controls_;
  return {c.RadioButton_Request0B, c.RadioButton_PPS0B, c.RadioButton_Event0B, c.RadioButton_Both0B};
}

std::array<QRadioButton*, 4> TForm_BriselPortAOut::groupAD() const {
  const Controls& c = controls_;
  return {c.RadioButton_RequestAD, c.RadioButton_PPSAD, c.RadioButton_EventAD, c.RadioButton_BothAD};
}

void TForm_BriselPortAOut::FormActivate() { PacketBroadcastMaskRequest8EA5(link_); }

void TForm_BriselPortAOut::Button_ApplyClick() {
  SuperPacketByteCommand8E(link_, kSubCode0B, checkedValue(group0B()));
  SuperPacketByteCommand8E(link_, kSubCodeAD, checkedValue(groupAD()));
}

void TForm_BriselPortAOut::showBroadcastMask(std::uint8_t mask1) {
  const auto check = [](const std::array<QRadioButton*, 4>& group, int mode) {
    widgets::dialog::CheckOnly({group[0], group[1], group[2], group[3]},
                               group[static_cast<std::size_t>(mode)]);
  };
  check(group0B(), mask1 & 3);
  check(groupAD(), (mask1 >> 4) & 3);
}

}  // namespace halvix::commands
