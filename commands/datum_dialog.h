// TForm_Datum: the dialog of the geodetic datum, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::commands {

class TForm_Datum : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Datum(QWidget* parent = nullptr);
};

}  // namespace halvix::commands
