// Names of receivers behind a serial server: rfc2217://HOST:PORT (telnet with
// the COM port option) and tcp://HOST:PORT (the bytes as they are). HOST is
// an IPv4 address, an IPv6 address in brackets or a host name. Also the one
// place that turns any port name into the SerialDevice that opens it.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "link/clock.h"
#include "link/serial_device.h"

namespace halvix::link {

enum class NetworkProtocol { Rfc2217, RawTcp };

struct NetworkPortAddress {
  NetworkProtocol protocol = NetworkProtocol::Rfc2217;
  QString host;  // without brackets
  std::uint16_t port = 0;

  // "HOST:PORT", an IPv6 host in brackets: the short name for the status bar.
  QString hostPort() const;
  // The whole name in its usual spelling, e.g. "rfc2217://[::1]:2000".
  QString url() const;
  bool operator==(const NetworkPortAddress&) const = default;
};

// True when the name starts with a network scheme (rfc2217:// or tcp://, any
// case), whether or not the rest is well formed.
bool IsNetworkPortName(const QString& name);

// The address in a network port name, or nothing with a sentence for the
// operator in *error (naming what was given and what is wrong).
std::optional<NetworkPortAddress> parseNetworkPort(const QString& name, QString* error = nullptr);

// The device for a port name: a serial server for rfc2217:// and tcp://, the
// system's serial port for anything else (a COM port or a device path). The
// device is not open yet. A serial server's bounded waits run on clock (null:
// the wall clock).
std::unique_ptr<SerialDevice> makeDeviceForPort(const QString& name, Clock* clock = nullptr);

}  // namespace halvix::link
