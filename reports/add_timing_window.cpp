#include "reports/add_timing_window.h"

namespace halvix::reports {

TForm_AddTiming::TForm_AddTiming(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_AddTiming"));
  setWindowTitle(QStringLiteral("Additional Timing Packets"));
}

}  // namespace halvix::reports
