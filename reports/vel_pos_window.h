// TForm_VelPos: the view window of the velocity and position reports, created once at start-up and shown from the main window.
#pragma once

#include <QDialog>

namespace halvix::reports {

class TForm_VelPos : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_VelPos(QWidget* parent = nullptr);
};

}  // namespace halvix::reports
