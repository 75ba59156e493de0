// TForm_Default: the Revert to Default Settings dialog. "&OK" and "&Apply"
// ask first, then send revert segment (0x8E-45) for the chosen segment.
// Reverting the serial port segment or all segments also returns the PC port
// to the receiver's factory line, so the link keeps talking.
#pragma once

#include <array>
#include <cstdint>

#include "tools/control_actions.h"
#include "widgets/dialog_support.h"

namespace halvix::commands {

class TForm_Default : public QDialog {
  Q_OBJECT

 public:
  // Segment numbers by item index; 0, 1, 9 and 10 cannot be chosen.
  static constexpr std::array<std::uint8_t, 9> kSegments = {2, 3, 4, 5, 6, 7, 8, 11, 0xFF};

  TForm_Default(link::SerialLink& link, link::Clock& clock, platform::OperatorPrompts& prompts,
                tools::ControlHooks hooks, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::OkApplyCloseControls {
    QComboBox* ComboBox_Segment{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // False when the operator cancelled (or nothing is chosen): nothing was sent.
  bool Button_ApplyClick();

 private:
  Controls controls_;
  tools::ControlActions actions_;
};

}  // namespace halvix::commands
