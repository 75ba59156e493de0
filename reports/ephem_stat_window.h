// TForm_EphemStat: the view window of one satellite's ephemeris status, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_EphemStat : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_EphemStat(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
