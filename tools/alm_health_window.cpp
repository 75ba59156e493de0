#include "tools/alm_health_window.h"

namespace halvix::tools {

TForm_AlmHealth::TForm_AlmHealth(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_AlmHealth"));
  setWindowTitle(QStringLiteral("Almanac Health Page"));
}

}  // namespace halvix::tools
