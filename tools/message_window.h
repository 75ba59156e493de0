// TForm_Message: the window that collects diagnostic text, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_Message : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Message(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
