// TForm_BriselPortAOut: the dialog of the Brisel port A time packet output, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_BriselPortAOut : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_BriselPortAOut(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
