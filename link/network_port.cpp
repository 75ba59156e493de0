#include "link/network_port.h"

#include <QHostAddress>

#include "link/qt_serial_device.h"
#include "link/rfc2217_device.h"
#include "link/tcp_device.h"

namespace halvix::link {

namespace {

constexpr int kMaxHostName = 253;
constexpr int kMaxLabel = 63;

struct Scheme {
  const char* prefix;
  NetworkProtocol protocol;
};
constexpr Scheme kSchemes[] = {{"rfc2217://", NetworkProtocol::Rfc2217},
                               {"tcp://", NetworkProtocol::RawTcp}};

// Letters, digits and hyphens in dot-separated labels, none empty or
// starting or ending with a hyphen.
bool validHostName(const QString& host) {
  if (host.isEmpty() || host.size() > kMaxHostName) return false;
  const QStringList labels = host.split(QLatin1Char('.'));
  for (int i = 0; i < labels.size(); ++i) {
    const QString& label = labels[i];
    // A final dot (a fully qualified name) leaves one empty label at the end.
    if (label.isEmpty()) {
      if (i == labels.size() - 1 && i > 0) continue;
      return false;
    }
    if (label.size() > kMaxLabel || label.front() == QLatin1Char('-') || label.back() == QLatin1Char('-')) {
      return false;
    }
    for (QChar c : label) {
      const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                      (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                      (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') ||
                      c == QLatin1Char('_');
      if (!ok) return false;
    }
  }
  return true;
}

// All digits are read: a number that only looks short once wrapped is refused.
std::optional<std::uint16_t> portNumber(const QString& text) {
  if (text.isEmpty() || text.size() > 5) return std::nullopt;
  int value = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    value = value * 10 + (c.unicode() - '0');
  }
  if (value < 1 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

QString NetworkPortAddress::hostPort() const {
  const QString h = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
  return QStringLiteral("%1:%2").arg(h).arg(port);
}

QString NetworkPortAddress::url() const {
  return (protocol == NetworkProtocol::Rfc2217 ? QStringLiteral("rfc2217://") : QStringLiteral("tcp://")) +
         hostPort();
}

bool IsNetworkPortName(const QString& name) {
  for (const Scheme& s : kSchemes) {
    if (name.startsWith(QLatin1String(s.prefix), Qt::CaseInsensitive)) return true;
  }
  return false;
}

std::optional<NetworkPortAddress> parseNetworkPort(const QString& name, QString* error) {
  auto fail = [&](const QString& why) -> std::optional<NetworkPortAddress> {
    if (error != nullptr) *error = QStringLiteral("'%1' is not a serial server address: %2").arg(name, why);
    return std::nullopt;
  };
  NetworkPortAddress a;
  QString rest;
  bool known = false;
  for (const Scheme& s : kSchemes) {
    const QLatin1String prefix(s.prefix);
    if (name.startsWith(prefix, Qt::CaseInsensitive)) {
      a.protocol = s.protocol;
      rest = name.mid(prefix.size());
      known = true;
      break;
    }
  }
  if (!known) return fail(QStringLiteral("it must start with rfc2217:// or tcp://"));
  // One trailing slash is what people paste from a browser; anything after it is not ours.
  if (rest.endsWith(QLatin1Char('/'))) rest.chop(1);
  if (rest.contains(QLatin1Char('/')) || rest.contains(QLatin1Char('?')) || rest.contains(QLatin1Char('#'))) {
    return fail(QStringLiteral("only HOST:PORT may follow the scheme"));
  }
  if (rest.contains(QLatin1Char('@'))) return fail(QStringLiteral("a user name is not supported"));

  QString portText;
  if (rest.startsWith(QLatin1Char('['))) {
    const qsizetype close = rest.indexOf(QLatin1Char(']'));
    if (close < 0) return fail(QStringLiteral("the IPv6 address lacks its closing ']'"));
    a.host = rest.mid(1, close - 1);
    const QString after = rest.mid(close + 1);
    if (!after.startsWith(QLatin1Char(':'))) return fail(QStringLiteral("the port number is missing, e.g. [::1]:2000"));
    portText = after.mid(1);
    QHostAddress ip;
    if (!ip.setAddress(a.host) || ip.protocol() != QAbstractSocket::IPv6Protocol) {
      return fail(QStringLiteral("'%1' is not an IPv6 address").arg(a.host));
    }
  } else {
    const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
    if (colon < 0) return fail(QStringLiteral("the port number is missing, e.g. HOST:2000"));
    a.host = rest.left(colon);
    portText = rest.mid(colon + 1);
    if (a.host.contains(QLatin1Char(':'))) {
      return fail(QStringLiteral("an IPv6 address goes in brackets, e.g. [::1]:2000"));
    }
    if (a.host.isEmpty()) return fail(QStringLiteral("the host is missing"));
    if (!validHostName(a.host)) return fail(QStringLiteral("'%1' is not a host name or address").arg(a.host));
  }
  const std::optional<std::uint16_t> port = portNumber(portText);
  if (!port) return fail(QStringLiteral("the port must be a number from 1 to 65535"));
  a.port = *port;
  return a;
}

std::unique_ptr<SerialDevice> makeDeviceForPort(const QString& name, Clock* clock) {
  if (!IsNetworkPortName(name)) return std::make_unique<QtSerialDevice>();
  const std::optional<NetworkPortAddress> a = parseNetworkPort(name);
  // A malformed name still gets a network device: its open fails with the reason.
  const bool raw = a ? a->protocol == NetworkProtocol::RawTcp
                     : name.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
  if (raw) return std::make_unique<TcpDevice>(clock);
  return std::make_unique<Rfc2217Device>(clock);
}

}  // namespace halvix::link
