// The set-up most link-level tests share: a link over a scripted device, on
// virtual time that starts at kStartMs.
#pragma once

#include <cstdint>

#include "link/clock.h"
#include "link/serial_link.h"
#include "tests/support/scripted_device.h"

namespace halvix::testing {

template <std::int64_t kStartMs = 0>
struct ScriptedLink {
  link::VirtualClock clock{kStartMs};
  ScriptedDevice device{&clock};
  link::SerialLink link{device, clock};
};

}  // namespace halvix::testing
