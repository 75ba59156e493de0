// TForm_GPS, "Receiver Configuration": receiver mode, DGPS mode, dynamics and
// the fix masks (0xBB). Each numeric field is brought into its range when the
// operator leaves it or presses Enter in it; text that is not a number stays
// as it is, and Apply then refuses to send.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
struct ReceiverConfigurationReport;
}

namespace halvix::commands {

class TForm_GPS : public QDialog {
  Q_OBJECT

 public:
  // 3.14159 / 180: the same rounded pi as every other degree conversion, so
  // a mask sent and read back shows unchanged.
  static constexpr double kDegreesToRadians = 0.017453277777777776;

  explicit TForm_GPS(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::OkApplyCloseControls {
    QComboBox *ComboBox_RMode{}, *ComboBox_DGPSMode{}, *ComboBox_DCode{};
    QLineEdit *Edit_EMask{}, *Edit_SMask{}, *Edit_PMask{}, *Edit_PSwitch{}, *Edit_DGPSAge{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  // False when a field is not a number (the operator has been told).
  bool Button_ApplyClick();
  // Report 0xBB: the modes, the dynamics code and the masks.
  void showSettings(const reports::ReceiverConfigurationReport& r);

 protected:
  // The field checks run on leaving a numeric field and on Enter in it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Controls controls_;
  void checkField(QLineEdit* edit);
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
