#include "tools/alm_window.h"

namespace halvix::tools {

TForm_Alm::TForm_Alm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Alm"));
  setWindowTitle(QStringLiteral("Almanac Loading Status"));
}

}  // namespace halvix::tools
