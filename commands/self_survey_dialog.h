// TForm_SelfSurvey: the Self Survey dialog. Each activation asks for the
// self-survey parameters (0x8E-A9); report 0x8F-A9 fills the two boxes and
// the limit. "&Set" sends them back; a limit that is not a 32-bit integer is
// refused with a message and nothing is sent.
#pragma once

#include <QDialog>

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

class TForm_SelfSurvey : public QDialog {
  Q_OBJECT

 public:
  TForm_SelfSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts, QWidget* parent = nullptr);

  struct Controls {
    QCheckBox* CheckBox_EnableSurvey = nullptr;
    QCheckBox* CheckBox_Flag = nullptr;
    QLineEdit* Edit_Limit = nullptr;
    QPushButton* Button_Set = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  void FormActivate();
  void Button_SetClick();
  void Button_CloseClick();

 private:
  link::SerialLink& link_;
  platform::OperatorPrompts& prompts_;
};

}  // namespace halvix::commands
