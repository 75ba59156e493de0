#include "tools/about_window.h"

namespace halvix::tools {

TForm_About::TForm_About(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_About"));
  setWindowTitle(QStringLiteral("About Halvix"));
}

}  // namespace halvix::tools
