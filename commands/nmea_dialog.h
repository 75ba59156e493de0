// TForm_NMEA: the dialog of the NMEA output, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_NMEA : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_NMEA(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
