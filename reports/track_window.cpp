#include "reports/track_window.h"

namespace halvix::reports {

TForm_Track::TForm_Track(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Track"));
  setWindowTitle(QStringLiteral("Tracking Status"));
}

}  // namespace halvix::reports
