// TForm_EEPROM: the view window of the EEPROM segment status, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::tools {

class TForm_EEPROM : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_EEPROM(QWidget* parent = nullptr);
};

}  // namespace halvix::tools
