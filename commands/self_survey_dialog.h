// TForm_SelfSurvey: the dialog of the self-survey parameters, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_SelfSurvey : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_SelfSurvey(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
