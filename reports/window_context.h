// What every window of a Halvix run reaches: developer mode, the receiver
// display state and the seams (link, clock, operator prompts, the PC's own
// clock, the settings store).
#pragma once

#include "link/clock.h"
#include "link/serial_link.h"
#include "platform/operator_prompts.h"
#include "platform/settings_store.h"
#include "platform/system_clock.h"
#include "reports/display_state.h"
#include "reports/readback_fields.h"

namespace halvix::reports {

struct WindowContext {
  WindowContext(bool developer, link::Clock& c, link::SerialLink& l, platform::OperatorPrompts& p)
      : developerMode(developer), clock(c), link(l), prompts(p) {}
  WindowContext(const WindowContext&) = delete;
  WindowContext& operator=(const WindowContext&) = delete;

  bool developerMode = false;
  link::Clock& clock;
  link::SerialLink& link;
  // Every operator message goes through here; it is also logged.
  platform::OperatorPrompts& prompts;
  DisplayState display{};
  // What the reset test reads back after a reset; the decoders write it.
  ReadBackFields readBack{};
  // The PC clock that "Download Time To PC" sets. Without one the transfer
  // reports a failure and the machine's time is never touched.
  platform::PcClock* pcClock = nullptr;
  // Where the NTP setting is kept; null means the platform's store.
  platform::SettingsStore* settings = nullptr;

  platform::SettingsStore& settingsStore() const {
    return settings != nullptr ? *settings : platform::PlatformSettingsStore();
  }
};

}  // namespace halvix::reports
