#include "reports/utc_param_window.h"

namespace halvix::reports {

TForm_UTCParam::TForm_UTCParam(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_UTCParam"));
  setWindowTitle(QStringLiteral("UTC Parameters"));
}

}  // namespace halvix::reports
