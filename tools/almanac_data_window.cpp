#include "tools/almanac_data_window.h"

namespace halvix::tools {

TForm_AlmanacData::TForm_AlmanacData(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_AlmanacData"));
  setWindowTitle(QStringLiteral("Almanac Data"));
}

}  // namespace halvix::tools
