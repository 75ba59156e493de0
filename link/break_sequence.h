// The receiver's port-settings line, the "PR" text it sends after a BREAK:
// what the negotiation reads from it.
#pragma once

#include <QByteArray>

#include "link/port_settings.h"

namespace halvix::link {

// The most of a port-settings line that is kept and read.
inline constexpr int kPortSettingsLineLength = 200;

// Reads the fields after the first ';' of a port-settings line into settings.
// Each value is stored as soon as it is parsed; a failure keeps the earlier ones.
bool ParsePortSettingsLine(const QByteArray& line, PortSettings& settings);

}  // namespace halvix::link
