// TForm_GPS: the dialog of the receiver mode and fix masks, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_GPS : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_GPS(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
