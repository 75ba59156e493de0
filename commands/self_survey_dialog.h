// TForm_SelfSurvey: the Self Survey dialog. Each activation asks for the
// self-survey parameters (0x8E-A9); report 0x8F-A9 fills the two boxes and
// the limit. "&Set" sends them back; a limit that is not a 32-bit integer is
// refused with a message and nothing is sent.
#pragma once

#include "widgets/dialog_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {
struct SelfSurveyReport;
}

namespace halvix::commands {

class TForm_SelfSurvey : public QDialog {
  Q_OBJECT

 public:
  TForm_SelfSurvey(link::SerialLink& link, platform::OperatorPrompts& prompts, QWidget* parent = nullptr);

  struct Controls : widgets::dialog::SetCloseControls {
    QCheckBox *CheckBox_EnableSurvey{}, *CheckBox_Flag{};
    QLineEdit* Edit_Limit{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  void Button_SetClick();
  // Report 0x8F-A9: the two boxes and the survey length.
  void showSettings(const reports::SelfSurveyReport& r);

 private:
  Controls controls_;
  link::SerialLink& link_;
  platform::OperatorPrompts& prompts_;
};

}  // namespace halvix::commands
