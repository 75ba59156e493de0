#include "commands/packet_masks_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "reports/window_context.h"
#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "reports/config_layouts.h"

namespace halvix::commands {

namespace {

struct BoxSpec {
  QCheckBox* TForm_PacketMasks::Controls::*slot;
  const char* name;
  const char* caption;
};

// A titled column of check boxes inside the options panel: the boxes of one
// option byte, bit 0 first. Each box's bit is noted in bits.
void Column(QWidget* parent, QGridLayout* into, int row, int column, const char* name,
            const char* title, int optionByte, TForm_PacketMasks::Controls& c,
            std::vector<TForm_PacketMasks::OptionBit>& bits, std::initializer_list<BoxSpec> boxes) {
  QVBoxLayout* l = nullptr;
  QGroupBox* g = widgets::dialog::Group(parent, name, QString::fromLatin1(title), {}, &l);
  int bit = 0;
  for (const BoxSpec& b : boxes) {
    c.*b.slot = widgets::dialog::Check(g, b.name, QString::fromLatin1(b.caption));
    l->addWidget(c.*b.slot);
    bits.push_back({c.*b.slot, optionByte, bit++});
  }
  l->addStretch(1);
  into->addWidget(g, row, column);
}

std::uint8_t Byte(const std::array<std::uint8_t, 4>& bytes, int i) {
  return bytes[static_cast<std::size_t>(i)];
}

}  // namespace

TForm_PacketMasks::TForm_PacketMasks(reports::WindowContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  QVBoxLayout* top =
      widgets::dialog::SetUpDialog(this, "Form_PacketMasks", QStringLiteral("Packet Masks and Options"));
  Controls& c = controls_;
  using C = Controls;

  QVBoxLayout* g = nullptr;
  c.Panel_IOOptions = widgets::dialog::Group(this, "Panel_IOOptions", {},
                                QStringLiteral("Input/Output Options: Packets 35, 55."), &g);
  {
    QWidget* p = c.Panel_IOOptions;
    c.Label_Options = widgets::dialog::Label(p, QStringLiteral("Packet 0x35 Options:"), "Label_Options");
    g->addWidget(c.Label_Options);
    // The four groups on a grid, so both rows share their column edges.
    auto* groups = new QGridLayout;
    std::vector<OptionBit> bits;
    Column(p, groups, 0, 0, "GroupBox_Position", "Position", 0, c, bits,
           {{&C::CheckBox_PosXYZ, "CheckBox_PosXYZ", "Output XYZ ECEF (Packet 42)"},
            {&C::CheckBox_PosLLA, "CheckBox_PosLLA", "Ouput LLA (Packet 4A)"},
            {&C::CheckBox_OutputMSL, "CheckBox_OutputMSL", "LLA Output MSL geoid"},
            {&C::CheckBox_InputMSL, "CheckBox_InputMSL", "LLA Input MSL geoid"},
            {&C::CheckBox_PosDouble, "CheckBox_PosDouble", "Double-Precision"},
            {&C::CheckBox_Pos8F20, "CheckBox_Pos8F20", "Output 8F-20"}});
    Column(p, groups, 0, 1, "GroupBox_Timing", "Timing", 2, c, bits,
           {{&C::CheckBox_TimeType, "CheckBox_TimeType", "Position fix time tags in UTC"},
            {&C::CheckBox_TimeCompute, "CheckBox_TimeCompute", "Compute fix on integer second"},
            {&C::CheckBox_TimeOutput, "CheckBox_TimeOutput", "Output fix on request only"},
            {&C::CheckBox_TimeSynch, "CheckBox_TimeSynch", "Synchronize measurements"},
            {&C::CheckBox_TimeMinimize, "CheckBox_TimeMinimize", "Minimize projections"}});
    Column(p, groups, 1, 0, "GroupBox_Velocity", "Velocity", 1, c, bits,
           {{&C::CheckBox_VelXYZ, "CheckBox_VelXYZ", "Output XYZ ECEF (Packet 43)"},
            {&C::CheckBox_VelENU, "CheckBox_VelENU", "Output ENU (Packet 56)"}});
    Column(p, groups, 1, 1, "GroupBox_Auxillary", "Auxillary", 3, c, bits,
           {{&C::CheckBox_AuxRaw, "CheckBox_AuxRaw", "Raw measurements (Packet 5A)"},
            {&C::CheckBox_AuxDoppler, "CheckBox_AuxDoppler", "Doppler smoothed codephase"}});
    g->addLayout(groups);
    // In option byte order, whatever the layout.
    std::stable_sort(bits.begin(), bits.end(),
                     [](const OptionBit& a, const OptionBit& b) { return a.byte < b.byte; });
    std::copy_n(bits.begin(), std::min(bits.size(), optionBits_.size()), optionBits_.begin());
    c.Button_Set35 = widgets::dialog::LoneButton(p, g, "Button_Set35", QStringLiteral("Set"),
                                                 [this] { Button_Set35Click(); });
  }
  top->addWidget(c.Panel_IOOptions);

  c.Panel_Masks = widgets::dialog::Group(this, "Panel_Masks", {},
                            QStringLiteral("Packet Broadcast Mask: Packet 8E/8F-A5"), &g);
  {
    QWidget* p = c.Panel_Masks;
    c.Label_Masks = widgets::dialog::Label(p, QStringLiteral("Packet 8E-A5 Masks:"), "Label_Masks");
    g->addWidget(c.Label_Masks);
    static constexpr const char* kMask1[8] = {
        "Synchronous 8F-0B on Port A", "Event 8F-0B on Port A",       "Event 8F-0B on Port B",
        "Synchronous 8F-0B on Port B", "Synchronous 8F-AD on Port A", "Event 8F-AD on Port A",
        "Event 8F-AD on Port B",       "Synchronous 8F-AD on Port B"};
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (int bit = 0; bit < 8; ++bit) {
      QCheckBox* b = widgets::dialog::Check(p, QByteArray("CheckBox_B1Bit").append(char('0' + bit)).constData(),
                               QString::fromLatin1(kMask1[bit]));
      c.CheckBox_B1Bit[static_cast<std::size_t>(bit)] = b;
      (bit < 4 ? left : right)->addWidget(b);
    }
    c.CheckBox_B2Bit0 = widgets::dialog::Check(p, "CheckBox_B2Bit0", QStringLiteral("8F-20 on Port B"));
    c.CheckBox_B2Bit5 = widgets::dialog::Check(p, "CheckBox_B2Bit5", QStringLiteral("Auto QLIP Outputs"));
    c.CheckBox_B2Bit6 = widgets::dialog::Check(p, "CheckBox_B2Bit6", QStringLiteral("8F-AB on Port A, Port B"));
    c.CheckBox_B2Bit7 = widgets::dialog::Check(p, "CheckBox_B2Bit7", QStringLiteral("8F-AC on Port A, Port B"));
    left->addWidget(c.CheckBox_B2Bit0);
    left->addWidget(c.CheckBox_B2Bit5);
    right->addWidget(c.CheckBox_B2Bit6);
    right->addWidget(c.CheckBox_B2Bit7);
    columns->addLayout(left);
    columns->addLayout(right);
    g->addLayout(columns);
    c.Button_Set8EA5 = widgets::dialog::LoneButton(p, g, "Button_Set8EA5", QStringLiteral("Set"),
                                                   [this] { Button_Set8EA5Click(); });
  }
  top->addWidget(c.Panel_Masks);

  c.Button_Close = widgets::dialog::CloseButton(this, top);

  // The eight boxes whose change of state re-captions the position boxes,
  // whether the operator or a report changes them.
  for (QCheckBox* b : {c.CheckBox_PosDouble, c.CheckBox_TimeSynch, c.CheckBox_TimeMinimize,
                       c.CheckBox_B1Bit[2], c.CheckBox_B1Bit[3], c.CheckBox_B1Bit[6],
                       c.CheckBox_B1Bit[7], c.CheckBox_B2Bit6}) {
    connect(b, &QCheckBox::toggled, this, [this] { CheckBox_PosDoubleClick(); });
  }
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::array<TForm_PacketMasks::OptionBit, 12> TForm_PacketMasks::maskBits() const {
  const Controls& c = controls_;
  std::array<OptionBit, 12> bits{};
  for (int bit = 0; bit < 8; ++bit) {
    bits[static_cast<std::size_t>(bit)] = {c.CheckBox_B1Bit[static_cast<std::size_t>(bit)], 1, bit};
  }
  bits[8] = {c.CheckBox_B2Bit0, 2, 0};
  bits[9] = {c.CheckBox_B2Bit5, 2, 5};
  bits[10] = {c.CheckBox_B2Bit6, 2, 6};
  bits[11] = {c.CheckBox_B2Bit7, 2, 7};
  return bits;
}

void TForm_PacketMasks::FormActivate() {
  IoOptionsRequest35(context_.link);
  context_.clock.sleepMs(kQueryGapMs);
  PacketBroadcastMaskRequest8EA5(context_.link);
}

void TForm_PacketMasks::Button_Set35Click() {
  std::array<std::uint8_t, 4> bytes{};
  for (const OptionBit& b : optionBits()) {
    if (b.box->isChecked()) bytes[static_cast<std::size_t>(b.byte)] |= std::uint8_t(1u << b.bit);
  }
  SetIoOptions35(context_.link, Byte(bytes, 0), Byte(bytes, 1), Byte(bytes, 2), Byte(bytes, 3));
}

void TForm_PacketMasks::Button_Set8EA5Click() {
  std::array<std::uint8_t, 4> bytes{};
  for (const OptionBit& b : maskBits()) {
    if (b.box->isChecked()) bytes[static_cast<std::size_t>(b.byte)] |= std::uint8_t(1u << b.bit);
  }
  SetPacketBroadcastMask8EA5(context_.link, Byte(bytes, 1), Byte(bytes, 2));
}

void TForm_PacketMasks::CheckBox_PosDoubleClick() {
  const bool precise = controls_.CheckBox_PosDouble->isChecked();
  controls_.CheckBox_PosXYZ->setText(precise ? QStringLiteral("Output XYZ ECEF (Packet 83)")
                                            : QStringLiteral("Output XYZ ECEF (Packet 42)"));
  controls_.CheckBox_PosLLA->setText(precise ? QStringLiteral("Output LLA (Packet 84)")
                                            : QStringLiteral("Output LLA (Packet 4A)"));
}

void TForm_PacketMasks::showIoOptions(const reports::IoOptions& r) {
  const std::uint8_t bytes[4] = {r.position, r.velocity, r.timing, r.auxiliary};
  for (const OptionBit& b : optionBits()) b.box->setChecked(((bytes[b.byte] >> b.bit) & 1u) != 0);
}

void TForm_PacketMasks::showBroadcastMask(const reports::BroadcastMaskReport& r) {
  const std::uint8_t masks[3] = {0, r.mask1, r.mask2};
  for (const OptionBit& b : maskBits()) b.box->setChecked(((masks[b.byte] >> b.bit) & 1u) != 0);
}

void TForm_PacketMasks::enableBroadcastMask(bool enabled) {
  Controls& c = controls_;
  for (const OptionBit& b : maskBits()) b.box->setEnabled(enabled);
  c.Button_Set8EA5->setEnabled(enabled);
  widgets::dialog::EnableCaption(c.Label_Masks, enabled);
  if (!enabled) return;
  c.CheckBox_B2Bit6->setText(QStringLiteral("8F-AB on Port A, Port B"));
  c.CheckBox_B2Bit7->setText(QStringLiteral("8F-AC on Port A, Port B"));
}

}  // namespace halvix::commands
