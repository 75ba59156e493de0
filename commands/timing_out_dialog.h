// TForm_TimingOut, "Timing Outputs": the PPS characteristics (0x8E-4A), the
// condition for a PPS output (0x8E-4E) and the PPS width (0x8E-4F). Each
// activation asks for all three; the report decoders fill the controls.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::reports {
struct WindowContext;
}

namespace halvix::reports {
struct PpsCharacteristicsReport;
}

namespace halvix::commands {

class TForm_TimingOut : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kQueryGapMs = 200;

  explicit TForm_TimingOut(reports::WindowContext& context, QWidget* parent = nullptr);

  struct Controls {
    QGroupBox* Panel_Characteristics = nullptr;
    QComboBox* ComboBox_Switch = nullptr;
    QComboBox* ComboBox_TimeBase = nullptr;
    QComboBox* ComboBox_Polarity = nullptr;
    QLineEdit* Edit_Offset = nullptr;
    QLineEdit* Edit_Bias = nullptr;
    QPushButton* Button_SetChar = nullptr;

    QGroupBox* Panel_Output = nullptr;
    QLabel* Label_OutputOptions = nullptr;
    QRadioButton* RadioButton_Always = nullptr;
    QRadioButton* RadioButton_1SV = nullptr;
    QRadioButton* RadioButton_3SV = nullptr;
    QPushButton* Button_SetOutput = nullptr;

    QGroupBox* Panel_Width = nullptr;
    QLabel* Label_Width = nullptr;
    QLineEdit* Edit_Width = nullptr;
    QLabel* Label_Seconds = nullptr;
    QPushButton* Button_Width = nullptr;

    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  void FormActivate();
  void Button_SetCharClick();
  void Button_SetOutputClick();
  void Button_WidthClick();

 private:
  reports::WindowContext& context_;

 public:
  // Report 0x8F-4A: the PPS characteristics.
  void showCharacteristics(const reports::PpsCharacteristicsReport& r);
  // Report 0x8F-4E: the output condition (2 always, 3 one satellite, 4 three); others check none.
  void showOutputMode(int mode);
  // Report 0x8F-4F: the PPS width in seconds.
  void showWidth(double width);

 public:
  // The receiver type: the width and output-condition controls are usable
  // only on receivers that have them.
  void enableOutputControls(bool enabled);
};

}  // namespace halvix::commands
