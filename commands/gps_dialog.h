// TForm_GPS, "Receiver Configuration": receiver mode, DGPS mode, dynamics and
// the fix masks (0xBB). Each numeric field is brought into its range when the
// operator leaves it or presses Enter in it; text that is not a number stays
// as it is, and Apply then refuses to send.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::commands {

class TForm_GPS : public QDialog {
  Q_OBJECT

 public:
  // 3.14159 / 180: the same rounded pi as every other degree conversion, so
  // a mask sent and read back shows unchanged.
  static constexpr double kDegreesToRadians = 0.017453277777777776;

  explicit TForm_GPS(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls {
    QComboBox* ComboBox_RMode = nullptr;
    QComboBox* ComboBox_DGPSMode = nullptr;
    QComboBox* ComboBox_DCode = nullptr;
    QLineEdit* Edit_EMask = nullptr;
    QLineEdit* Edit_SMask = nullptr;
    QLineEdit* Edit_PMask = nullptr;
    QLineEdit* Edit_PSwitch = nullptr;
    QLineEdit* Edit_DGPSAge = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Apply = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  void FormActivate();
  // False when a field is not a number (the operator has been told).
  bool Button_ApplyClick();
  void Button_OKClick();
  void Button_CloseClick();
  // The field checks (run on leaving the field and on Enter).
  void Edit_EMaskExit();
  void Edit_SMaskExit();
  void Edit_PMaskExit();
  void Edit_PSwitchExit();
  void Edit_DGPSAgeExit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void checkField(QLineEdit* edit);
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
