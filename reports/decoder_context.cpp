#include "reports/decoder_context.h"

#include "reports/main_view.h"

namespace halvix::reports {

bool DecoderContext::pollTimingPackets() const {
  return windows.main != nullptr && windows.main->pollTimingPackets();
}

}  // namespace halvix::reports
