// The monitor's configuration: the HTTP address and the receivers, read from
// a TOML file. Everything is checked before anything starts; a refusal names
// the file, the line and what is wrong.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>
#include <vector>

namespace halvix::monitor {

inline constexpr int kExitConfig = 78;  // EX_CONFIG: a service manager does not restart on it
inline constexpr int kDefaultRetentionDays = 30;
inline constexpr const char* kDefaultListen = "127.0.0.1:9468";

struct ReceiverConfig {
  QString name;    // the receiver label of every series
  QString port;    // device path, COMn, rfc2217://host:port, tcp://host:port or sim:TYPE
  QString type;    // empty: taken from the production-parameters report
  QString record;  // empty: no recording
  int retentionDays = kDefaultRetentionDays;
  int line = 0;  // where it stands in the file
};

struct ListenAddress {
  QString host = QStringLiteral("127.0.0.1");
  quint16 port = 9468;
  QString text() const;
};

struct MonitorConfig {
  QString file;
  ListenAddress listen;
  std::vector<ReceiverConfig> receivers;
};

struct ConfigResult {
  std::optional<MonitorConfig> config;
  QString error;  // "FILE:LINE: what is wrong" when config is empty
};

// The receiver types a configuration may name, as `sim:TYPE` takes them too.
const QStringList& ReceiverTypeNames();

// "HOST:PORT" with HOST an IPv4 address, [IPv6] or localhost; nothing and a reason when bad.
std::optional<ListenAddress> ParseListenAddress(const QString& text, QString* why = nullptr);

// Checks a port name's form; empty when sound, else what is wrong with it.
QString CheckPortName(const QString& port);

ConfigResult ParseMonitorConfig(std::string_view text, const QString& fileName);
ConfigResult LoadMonitorConfig(const QString& fileName);

// --config, else $XDG_CONFIG_HOME/halvix/monitor.toml (~/.config when unset) if
// it exists, else /etc/halvix/monitor.toml.
QString DefaultConfigPath();

}  // namespace halvix::monitor
