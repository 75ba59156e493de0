#include "tools/log_qlip_window.h"

namespace halvix::tools {

TForm_LogQlip::TForm_LogQlip(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_LogQlip"));
  setWindowTitle(QStringLiteral("QLIP Logging Setup and Status"));
}

}  // namespace halvix::tools
