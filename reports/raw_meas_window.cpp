#include "reports/raw_meas_window.h"

namespace halvix::reports {

TForm_RawMeas::TForm_RawMeas(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_RawMeas"));
  setWindowTitle(QStringLiteral("Raw Measurement Data"));
}

}  // namespace halvix::reports
