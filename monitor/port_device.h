// The one place that turns a configured port name into a serial device:
// `sim:TYPE` is the in-process simulated receiver, rfc2217:// and tcp:// a
// receiver behind a serial server, COMn and paths a real port.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "link/clock.h"
#include "link/serial_device.h"

namespace halvix::monitor {

// The device path a port name opens: COMn is \\.\COMn on Windows and /dev/ttyS<n-1> elsewhere.
QString DevicePathForPort(const QString& port);

// Nothing, with the reason, for a port name that cannot be opened.
// seed varies the simulated receivers of one monitor.
std::unique_ptr<link::SerialDevice> MakeDeviceForPort(const QString& port, link::Clock& clock,
                                                      std::uint64_t seed = 1, QString* why = nullptr);

}  // namespace halvix::monitor
