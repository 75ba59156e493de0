// TForm_LogQlip: the window that starts and stops the QLIP recording, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_LogQlip : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_LogQlip(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
