// TForm_BriselSurvey: the Set Survey Limit dialog of the Brisel receiver.
// Each activation asks for the auto-survey limit (0x8E-4B); report 0x8F-4B
// fills it. "&Set" sends the limit, an unsigned 32-bit number: a negative or
// unparsable limit is refused with a message and nothing is sent.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace halvix::link {
class SerialLink;
}
namespace halvix::platform {
class OperatorPrompts;
}

namespace halvix::commands {

class TForm_BriselSurvey : public QDialog {
  Q_OBJECT

 public:
  TForm_BriselSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts,
                     QWidget* parent = nullptr);

  struct Controls {
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
