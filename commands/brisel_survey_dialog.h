// TForm_BriselSurvey: the Set Survey Limit dialog of the Brisel receiver.
// Each activation asks for the auto-survey limit (0x8E-4B); report 0x8F-4B
// fills it. "&Set" sends the limit, an unsigned 32-bit number: a negative or
// unparsable limit is refused with a message and nothing is sent.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::commands {

class TForm_BriselSurvey : public QDialog {
  Q_OBJECT

 public:
  TForm_BriselSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts,
                     QWidget* parent = nullptr);

  struct Controls : widgets::dialog::SetCloseControls {
    QLineEdit* Edit_Limit{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  void Button_SetClick();
  // Report 0x8F-4B: the survey limit, shown signed as the receiver's own tools print it.
  void showLimit(std::uint32_t limit);

 private:
  Controls controls_;
  link::SerialLink& link_;
  platform::OperatorPrompts& prompts_;
};

}  // namespace halvix::commands
