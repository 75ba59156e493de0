#include "tools/message_window.h"

namespace halvix::tools {

TForm_Message::TForm_Message(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Message"));
  setWindowTitle(QStringLiteral("Message"));
}

}  // namespace halvix::tools
