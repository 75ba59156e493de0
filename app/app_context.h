// Process-wide state of one Halvix run: the chosen port, developer mode and
// the seams every window reaches (link, clock, operator prompts).
#pragma once

#include "app/operator_prompts.h"
#include "app/port_choice.h"
#include "link/clock.h"
#include "link/serial_link.h"

namespace halvix::app {

struct AppContext {
  PortChoice port;
  bool developerMode = false;
  link::Clock& clock;
  link::SerialLink& link;
  OperatorPrompts& prompts;
};

}  // namespace halvix::app
