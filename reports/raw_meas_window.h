// TForm_RawMeas: the view window of one satellite's raw measurements, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_RawMeas : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_RawMeas(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
