// TForm_NMEA: the NMEA Output dialog. Each activation asks for the NMEA
// settings (0x7A 00); report 0x7B fills the interval and the sentence boxes.
// "&Apply" sends them; an interval that is not a whole number of seconds the
// interval byte can hold (0 to 255) is refused with a message.
#pragma once

#include <array>
#include <cstdint>

#include "widgets/dialog_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {
struct NmeaSettings;
}

namespace halvix::commands {

class TForm_NMEA : public QDialog {
  Q_OBJECT

 public:
  TForm_NMEA(link::SerialLink& link, platform::OperatorPrompts& prompts, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::OkApplyCloseControls {
    QLineEdit* Edit_Interval{};
    QCheckBox *CheckBox_GGA{}, *CheckBox_GLL{}, *CheckBox_VTG{}, *CheckBox_GSV{}, *CheckBox_GSA{},
        *CheckBox_ZDA{}, *CheckBox_RMC{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  struct SentenceBox {
    QCheckBox* box;
    int bit;  // of the message mask
  };
  std::array<SentenceBox, 7> sentenceBoxes() const;

  void FormActivate();
  // False when the interval was refused and nothing was sent.
  bool Button_ApplyClick();
  // Report 0x7B: the interval and a box per sentence of the message mask.
  void showSettings(const reports::NmeaSettings& r);

 private:
  Controls controls_;
  link::SerialLink& link_;
  platform::OperatorPrompts& prompts_;
};

}  // namespace halvix::commands
