#include "reports/ephem_stat_window.h"

namespace halvix::reports {

TForm_EphemStat::TForm_EphemStat(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_EphemStat"));
  setWindowTitle(QStringLiteral("Satellite Ephemeris Status"));
}

}  // namespace halvix::reports
