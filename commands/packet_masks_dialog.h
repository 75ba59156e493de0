// TForm_PacketMasks, "Packet Masks and Options": the I/O options (0x35,
// answered by 0x55) and the packet broadcast mask (0x8E-A5, answered by
// 0x8F-A5). The captions of the two position boxes follow "Double-Precision".
#pragma once

#include <array>

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::reports {
struct IoOptions;
struct BroadcastMaskReport;
}

namespace halvix::commands {

class TForm_PacketMasks : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kQueryGapMs = 200;

  explicit TForm_PacketMasks(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls {
    QGroupBox* Panel_IOOptions = nullptr;
    QLabel* Label_Options = nullptr;
    QCheckBox* CheckBox_PosXYZ = nullptr;
    QCheckBox* CheckBox_PosLLA = nullptr;
    QCheckBox* CheckBox_OutputMSL = nullptr;
    QCheckBox* CheckBox_InputMSL = nullptr;
    QCheckBox* CheckBox_PosDouble = nullptr;
    QCheckBox* CheckBox_Pos8F20 = nullptr;
    QCheckBox* CheckBox_VelXYZ = nullptr;
    QCheckBox* CheckBox_VelENU = nullptr;
    QCheckBox* CheckBox_TimeType = nullptr;
    QCheckBox* CheckBox_TimeCompute = nullptr;
    QCheckBox* CheckBox_TimeOutput = nullptr;
    QCheckBox* CheckBox_TimeSynch = nullptr;
    QCheckBox* CheckBox_TimeMinimize = nullptr;
    QCheckBox* CheckBox_AuxRaw = nullptr;
    QCheckBox* CheckBox_AuxDoppler = nullptr;
    QPushButton* Button_Set35 = nullptr;

    QGroupBox* Panel_Masks = nullptr;
    QLabel* Label_Masks = nullptr;
    // Mask byte 1, bits 0..7.
    std::array<QCheckBox*, 8> CheckBox_B1Bit{};
    QCheckBox* CheckBox_B2Bit0 = nullptr;
    QCheckBox* CheckBox_B2Bit5 = nullptr;
    QCheckBox* CheckBox_B2Bit6 = nullptr;
    QCheckBox* CheckBox_B2Bit7 = nullptr;
    QPushButton* Button_Set8EA5 = nullptr;

    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  // The option byte (0..3) and bit each I/O option box stands for.
  struct OptionBit {
    QCheckBox* box;
    int byte;
    int bit;
  };
  const std::array<OptionBit, 15>& optionBits() const { return optionBits_; }
  // The broadcast mask byte (1 or 2) and bit of each mask box.
  std::array<OptionBit, 12> maskBits() const;

  void FormActivate();
  void Button_Set35Click();
  void Button_Set8EA5Click();
  // Captions of the position boxes from "Double-Precision".
  void CheckBox_PosDoubleClick();

 private:
  reports::WindowContext& context_;
  std::array<OptionBit, 15> optionBits_{};

 public:
  // Report 0x55: the I/O option boxes.
  void showIoOptions(const reports::IoOptions& r);
  // Report 0x8F-A5: the broadcast mask boxes.
  void showBroadcastMask(const reports::BroadcastMaskReport& r);
  // The receiver type: the broadcast mask is usable only on receivers that
  // have it, and there its timing boxes name both ports.
  void enableBroadcastMask(bool enabled);
};

}  // namespace halvix::commands
