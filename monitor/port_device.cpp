#include "monitor/port_device.h"

#include <QRegularExpression>

#include "link/network_port.h"
#include "link/qt_serial_device.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"

namespace halvix::monitor {

QString DevicePathForPort(const QString& port) {
  static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
  const auto match = com.match(port);
  if (!match.hasMatch()) return port;
  return link::ComPortDeviceName(match.captured(1).toInt());
}

std::unique_ptr<link::SerialDevice> MakeDeviceForPort(const QString& port, link::Clock& clock,
                                                      std::uint64_t seed, QString* why) {
  if (port.startsWith(QStringLiteral("sim:"))) {
    sim::SimOptions options;
    options.persona = port.mid(4);
    options.seed = seed;
    // On the wall clock the receiver lives in the present; virtual time keeps a fixed date.
    if (dynamic_cast<link::SystemClock*>(&clock) != nullptr) options.startGpsMs = sim::GpsMsFromSystemClock();
    return sim::CreateSimulatedDevice(options, clock);
  }
  if (link::IsNetworkPortName(port) && !link::parseNetworkPort(port, why)) return nullptr;
  // A serial server for rfc2217:// and tcp://, the system's port for the rest.
  return link::makeDeviceForPort(port, &clock);
}

}  // namespace halvix::monitor
