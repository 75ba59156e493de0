// TForm_Diagnostics: the window of the developer's repeated-reset test, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_Diagnostics : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Diagnostics(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
