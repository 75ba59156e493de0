#include "tools/diagnostics_window.h"

namespace halvix::tools {

TForm_Diagnostics::TForm_Diagnostics(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Diagnostics"));
  setWindowTitle(QStringLiteral("Diagnostics"));
}

}  // namespace halvix::tools
