#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>

#include "link/port_settings.h"

namespace halvix::app {

TForm_Main::TForm_Main(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
  setObjectName(QStringLiteral("Form_Main"));
  setWindowTitle(QStringLiteral("Halvix"));
}

TForm_Main::~TForm_Main() = default;

bool TForm_Main::FormCreate() {
  if (context_.link.OpenLink(context_.port.deviceName) != 0) {
    context_.prompts.message(QStringLiteral("Serial Port Error"),
                             QStringLiteral("Could not initialize %1.").arg(context_.port.panelLabel),
                             PromptButtons::Ok, PromptIcon::Error);
    return false;
  }
  QApplication::setApplicationDisplayName(context_.port.titlePrefix + QStringLiteral(" Halvix"));
  return true;
}

void TForm_Main::closeEvent(QCloseEvent* event) {
  context_.link.CloseLink();
  QMainWindow::closeEvent(event);
}

}  // namespace halvix::app
