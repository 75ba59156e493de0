// TForm_BriselPortAOut: the Port A Output dialog of the Brisel receiver. It
// sets when the super-packets 8F-0B and 8F-AD go out on port A: on request
// only, at the PPS, at the event input, or at both. Each activation asks for
// the packet broadcast mask (0x8E-A5), whose report 0x8F-A5 checks the
// buttons; "&Apply" sends one byte command per packet.
#pragma once

#include <array>
#include <cstdint>

#include "widgets/dialog_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::commands {

// Output-mode values of a group: bit 0 at the PPS, bit 1 at the event input.
enum PortAOutputMode : int { kPortAOnRequest = 0, kPortAAtPps = 1, kPortAAtEvent = 2, kPortAAtBoth = 3 };

class TForm_BriselPortAOut : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_BriselPortAOut(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    QRadioButton *RadioButton_Request0B{}, *RadioButton_PPS0B{}, *RadioButton_Event0B{}, *RadioButton_Both0B{};
    QRadioButton *RadioButton_RequestAD{}, *RadioButton_PPSAD{}, *RadioButton_EventAD{}, *RadioButton_BothAD{};
    QPushButton *Button_OK{}, *Button_Apply{}, *Button_Cancel{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Each group's buttons indexed by output-mode value.
  std::array<QRadioButton*, 4> group0B() const;
  std::array<QRadioButton*, 4> groupAD() const;

  void FormActivate();
  void Button_ApplyClick();
  // Report 0x8F-A5: each group's button from its pair of bits of mask byte 1
  // (bits 0-1 for 8F-0B, bits 4-5 for 8F-AD).
  void showBroadcastMask(std::uint8_t mask1);

 private:
  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::commands
