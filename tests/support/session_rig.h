// A receiver session over a scripted port on virtual time, not started: the
// link the windows of a test use is the session's link, and its steps run as
// the test advances the scheduler.
#pragma once

#include <memory>
#include <utility>

#include "link/serial_link.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "tests/support/scripted_device.h"

namespace halvix::testing {

class SessionRig {
 public:
  explicit SessionRig(std::int64_t startMs = 0, session::SessionOptions options = {})
      : scheduler(startMs), session(scripted(), scheduler, std::move(options)) {}

  session::VirtualScheduler scheduler;
  link::VirtualClock& clock = scheduler.virtualClock();

 private:
  ScriptedDevice* device_ = nullptr;
  std::unique_ptr<link::SerialDevice> scripted() {
    auto d = std::make_unique<ScriptedDevice>(&scheduler.clock());
    device_ = d.get();
    return d;
  }

 public:
  session::ReceiverSession session;
  ScriptedDevice& device = *device_;
  link::SerialLink& link = session.link();
};

}  // namespace halvix::testing
