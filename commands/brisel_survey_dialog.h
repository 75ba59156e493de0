// TForm_BriselSurvey: the dialog of the Brisel auto-survey limit, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_BriselSurvey : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_BriselSurvey(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
