// TForm_PacketMasks, "Packet Masks and Options": the I/O options (0x35,
// answered by 0x55) and the packet broadcast mask (0x8E-A5, answered by
// 0x8F-A5). The captions of the two position boxes follow "Double-Precision".
#pragma once

#include <array>

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
struct IoOptions;
struct BroadcastMaskReport;
}

namespace halvix::commands {

class TForm_PacketMasks : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_PacketMasks(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls {
    QGroupBox* Panel_IOOptions{};
    QLabel* Label_Options{};
    QCheckBox *CheckBox_PosXYZ{}, *CheckBox_PosLLA{}, *CheckBox_OutputMSL{}, *CheckBox_InputMSL{},
        *CheckBox_PosDouble{}, *CheckBox_Pos8F20{};
    QCheckBox *CheckBox_VelXYZ{}, *CheckBox_VelENU{};
    QCheckBox *CheckBox_TimeType{}, *CheckBox_TimeCompute{}, *CheckBox_TimeOutput{}, *CheckBox_TimeSynch{},
        *CheckBox_TimeMinimize{};
    QCheckBox *CheckBox_AuxRaw{}, *CheckBox_AuxDoppler{};
    QPushButton* Button_Set35{};

    QGroupBox* Panel_Masks{};
    QLabel* Label_Masks{};
    // Mask byte 1, bits 0..7.
    std::array<QCheckBox*, 8> CheckBox_B1Bit{};
    QCheckBox *CheckBox_B2Bit0{}, *CheckBox_B2Bit5{}, *CheckBox_B2Bit6{}, *CheckBox_B2Bit7{};
    QPushButton* Button_Set8EA5{};

    QPushButton* Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

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
  // Report 0x55: the I/O option boxes.
  void showIoOptions(const reports::IoOptions& r);
  // Report 0x8F-A5: the broadcast mask boxes.
  void showBroadcastMask(const reports::BroadcastMaskReport& r);
  // The receiver type: the broadcast mask is usable only on receivers that
  // have it, and there its timing boxes name both ports.
  void enableBroadcastMask(bool enabled);

 private:
  Controls controls_;
  reports::WindowContext& context_;
  std::array<OptionBit, 15> optionBits_{};
};

}  // namespace halvix::commands
