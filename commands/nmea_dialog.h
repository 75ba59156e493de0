// TForm_NMEA: the NMEA Output dialog. Each activation asks for the NMEA
// settings (0x7A 00); report 0x7B fills the interval and the sentence boxes.
// "&Apply" sends them; an interval that is not a whole number of seconds the
// interval byte can hold (0 to 255) is refused with a message.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace halvix::link {
class SerialLink;
}
namespace halvix::platform {
class OperatorPrompts;
}

namespace halvix::commands {

class TForm_NMEA : public QDialog {
  Q_OBJECT

 public:
  TForm_NMEA(link::SerialLink& link, platform::OperatorPrompts& prompts, QWidget* parent = nullptr);

  struct Controls {
    QLineEdit* Edit_Interval = nullptr;
    QCheckBox* CheckBox_GGA = nullptr;
    QCheckBox* CheckBox_GLL = nullptr;
    QCheckBox* CheckBox_VTG = nullptr;
    QCheckBox* CheckBox_GSV = nullptr;
    QCheckBox* CheckBox_GSA = nullptr;
    QCheckBox* CheckBox_ZDA = nullptr;
    QCheckBox* CheckBox_RMC = nullptr;
    QPushButton* Button_OK = nullptr;
    QPushButton* Button_Apply = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  struct SentenceBox {
    QCheckBox* box;
    int bit;  // of the message mask
  };
  std::array<SentenceBox, 7> sentenceBoxes() const;

  void FormActivate();
  void Button_OKClick();
  // False when the interval was refused and nothing was sent.
  bool Button_ApplyClick();
  void Button_CloseClick();

 private:
  link::SerialLink& link_;
  platform::OperatorPrompts& prompts_;
};

}  // namespace halvix::commands
