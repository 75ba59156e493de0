// TForm_SVNum, "One-Satellite SV": the satellite used in one-satellite timing
// mode (0x34); 0 lets the receiver take the highest one. It asks nothing on
// activation.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::commands {

class TForm_SVNum : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_SVNum(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::OkApplyCloseControls {
    QComboBox* ComboBox_SVNum{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void Button_ApplyClick();

 private:
  Controls controls_;
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
