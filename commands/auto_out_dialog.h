// TForm_AutoOut, "Port B Automatic Output": which reports the receiver sends
// unasked on port B, one bit of the 32-bit automatic output mask (0x8E-4D,
// answered by 0x8F-4D) per check box.
#pragma once

#include <array>

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::commands {

class TForm_AutoOut : public QDialog {
  Q_OBJECT

 public:
  // The mask bits that have a check box, in the order of the boxes.
  static constexpr std::array<int, 10> kBits = {0, 1, 2, 3, 4, 5, 8, 11, 30, 31};

  explicit TForm_AutoOut(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::OkApplyCloseControls {
    QGroupBox* Panel_Mask = nullptr;
    // CheckBox_Bit<n> for n in kBits, in that order.
    std::array<QCheckBox*, kBits.size()> CheckBox_Bit{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // The box of a mask bit, or null for a bit without one.
  QCheckBox* bitBox(int bit) const;

  void FormActivate();
  void Button_ApplyClick();
  // Report 0x8F-4D: a box per mask bit that has one.
  void showMask(std::uint32_t mask);

 private:
  Controls controls_;
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
