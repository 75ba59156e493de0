// The simulated receiver attached as a SerialDevice, for `halvix --simulate`
// and for integration tests.
#pragma once

#include <QString>
#include <memory>

#include "link/clock.h"
#include "link/serial_device.h"

namespace halvix::sim {

// persona: corvel, norden, pellam, cvl2 or brisel.
std::unique_ptr<link::SerialDevice> CreateSimulatedDevice(const QString& persona, link::Clock& clock);

}  // namespace halvix::sim
