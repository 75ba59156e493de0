#include "reports/vel_pos_window.h"

namespace halvix::reports {

TForm_VelPos::TForm_VelPos(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_VelPos"));
  setWindowTitle(QStringLiteral("Velocity and Positioning"));
}

}  // namespace halvix::reports
