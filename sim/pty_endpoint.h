// A pseudo-terminal for halvix-sim: the receiver sits on the master side and
// Halvix opens the slave path like any serial port.
#pragma once

#include <QString>
#include <memory>

#include "sim/sim_server.h"

namespace halvix::sim {

// Opens a new pseudo-terminal, or returns nullptr with a reason (also on
// systems without pseudo-terminals).
std::unique_ptr<SimEndpoint> OpenPtyEndpoint(QString* error);

}  // namespace halvix::sim
