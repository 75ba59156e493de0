// TForm_About: the About box, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_About : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_About(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
