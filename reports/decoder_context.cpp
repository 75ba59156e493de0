#include "reports/decoder_context.h"

#include <QAction>

#include "app/main_window.h"
#include "app/windows.h"

namespace halvix::reports {

app::TForm_Main& DecoderContext::main() const { return *windows.main; }

bool DecoderContext::pollTimingPackets() const {
  const QAction* item = windows.main->menu.ControlPollingTimingPkts;
  return item != nullptr && item->isChecked();
}

}  // namespace halvix::reports
