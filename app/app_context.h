// Process-wide state of one Halvix run: the chosen port, developer mode,
// the receiver display state and the seams every window reaches (link,
// clock, operator prompts, the PC's own clock).
#pragma once

#include "app/operator_prompts.h"
#include "app/port_choice.h"
#include "app/settings_store.h"
#include "app/system_clock.h"
#include "link/clock.h"
#include "link/serial_link.h"
#include "reports/display_state.h"
#include "tools/readback_fields.h"

namespace halvix::app {

struct AppContext {
  PortChoice port;
  bool developerMode = false;
  link::Clock& clock;
  link::SerialLink& link;
  // Every operator message goes through here; it is also logged.
  OperatorPrompts& prompts;
  reports::DisplayState display{};
  // What the reset test reads back after a reset; the decoders write it.
  tools::ReadBackFields readBack{};
  // The PC clock that "Download Time To PC" sets. Without one the transfer
  // reports a failure and the machine's time is never touched.
  PcClock* pcClock = nullptr;
  // Where the NTP setting is kept; null means the platform's store.
  SettingsStore* settings = nullptr;

  SettingsStore& settingsStore() const {
    return settings != nullptr ? *settings : PlatformSettingsStore();
  }
};

}  // namespace halvix::app
