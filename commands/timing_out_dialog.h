// TForm_TimingOut, "Timing Outputs": the PPS characteristics (0x8E-4A), the
// condition for a PPS output (0x8E-4E) and the PPS width (0x8E-4F). Each
// activation asks for all three; the report decoders fill the controls.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
struct PpsCharacteristicsReport;
}

namespace halvix::commands {

class TForm_TimingOut : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_TimingOut(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls {
    QGroupBox* Panel_Characteristics{};
    QComboBox *ComboBox_Switch{}, *ComboBox_TimeBase{}, *ComboBox_Polarity{};
    QLineEdit *Edit_Offset{}, *Edit_Bias{};
    QPushButton* Button_SetChar{};

    QGroupBox* Panel_Output{};
    QLabel* Label_OutputOptions{};
    QRadioButton *RadioButton_Always{}, *RadioButton_1SV{}, *RadioButton_3SV{};
    QPushButton* Button_SetOutput{};

    QGroupBox* Panel_Width{};
    QLabel *Label_Width{}, *Label_Seconds{};
    QLineEdit* Edit_Width{};
    QPushButton* Button_Width{};

    QPushButton* Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  void Button_SetCharClick();
  void Button_SetOutputClick();
  void Button_WidthClick();
  // Report 0x8F-4A: the PPS characteristics.
  void showCharacteristics(const reports::PpsCharacteristicsReport& r);
  // Report 0x8F-4E: the output condition (2 always, 3 one satellite, 4 three); others check none.
  void showOutputMode(int mode);
  // Report 0x8F-4F: the PPS width in seconds.
  void showWidth(double width);
  // The receiver type: the width and output-condition controls are usable
  // only on receivers that have them.
  void enableOutputControls(bool enabled);

 private:
  Controls controls_;
  reports::WindowContext& context_;
};

}  // namespace halvix::commands
