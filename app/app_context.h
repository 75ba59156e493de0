// Process-wide state of one Halvix run: what every window reaches, and the
// port the run chose.
#pragma once

#include <utility>

#include "app/port_choice.h"
#include "reports/window_context.h"

namespace halvix::app {

struct AppContext : reports::WindowContext {
  AppContext(PortChoice p, bool developer, link::Clock& c, link::SerialLink& l,
             platform::OperatorPrompts& prompts)
      : WindowContext(developer, c, l, prompts), port(std::move(p)) {}

  PortChoice port;
};

}  // namespace halvix::app
