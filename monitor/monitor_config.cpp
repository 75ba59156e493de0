#include "monitor/monitor_config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>
#include <map>
#include <toml++/toml.h>

#include "link/network_port.h"

namespace halvix::monitor {

namespace {

QString Where(const QString& file, const toml::source_region& at) {
  return QStringLiteral("%1:%2").arg(file).arg(at.begin.line);
}

ConfigResult Refuse(const QString& file, const toml::source_region& at, const QString& what) {
  return {std::nullopt, QStringLiteral("%1: %2").arg(Where(file, at), what)};
}

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool HasControlCharacters(const QString& s) {
  for (const QChar c : s) {
    if (c.category() == QChar::Other_Control) return true;
  }
  return false;
}

}  // namespace

const QStringList& ReceiverTypeNames() {
  static const QStringList names{QStringLiteral("corvel"), QStringLiteral("norden"),
                                 QStringLiteral("pellam"), QStringLiteral("cvl2"),
                                 QStringLiteral("brisel")};
  return names;
}

QString ListenAddress::text() const {
  return host.contains(u':') ? QStringLiteral("[%1]:%2").arg(host).arg(port)
                             : QStringLiteral("%1:%2").arg(host).arg(port);
}

std::optional<ListenAddress> ParseListenAddress(const QString& text, QString* why) {
  const auto fail = [why](const QString& reason) -> std::optional<ListenAddress> {
    if (why != nullptr) *why = reason;
    return std::nullopt;
  };
  QString host;
  QString port;
  if (text.startsWith(u'[')) {
    const qsizetype close = text.indexOf(QStringLiteral("]:"));
    if (close < 0) return fail(QStringLiteral("\"%1\" is not [ADDRESS]:PORT").arg(text));
    host = text.mid(1, close - 1);
    port = text.mid(close + 2);
  } else {
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 0 || text.indexOf(u':') != colon) {
      return fail(QStringLiteral("\"%1\" is not ADDRESS:PORT").arg(text));
    }
    host = text.left(colon);
    port = text.mid(colon + 1);
  }
  bool ok = false;
  const int number = port.toInt(&ok);
  if (!ok || number < 1 || number > 65535) {
    return fail(QStringLiteral("the port of \"%1\" is not a number from 1 to 65535").arg(text));
  }
  if (host == QStringLiteral("localhost")) host = QStringLiteral("127.0.0.1");
  QHostAddress address;
  if (!address.setAddress(host) || host.contains(u'%')) {
    return fail(QStringLiteral("\"%1\" is not an IP address (or localhost)").arg(host));
  }
  ListenAddress result;
  result.host = address.toString();
  result.port = static_cast<quint16>(number);
  return result;
}

QString CheckPortName(const QString& port) {
  if (port.isEmpty()) return QStringLiteral("the port is empty");
  if (HasControlCharacters(port)) return QStringLiteral("the port holds control characters");
  if (port.startsWith(QStringLiteral("sim:"))) {
    const QString type = port.mid(4);
    if (!ReceiverTypeNames().contains(type)) {
      return QStringLiteral("unknown simulated receiver type \"%1\" (one of %2)")
          .arg(type, ReceiverTypeNames().join(QStringLiteral(", ")));
    }
    return {};
  }
  if (link::IsNetworkPortName(port)) {
    QString why;
    return link::parseNetworkPort(port, &why) ? QString() : why;
  }
  static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
  const auto match = com.match(port);
  if (match.hasMatch()) {
    const int n = match.captured(1).toInt();
    if (n < 1 || n > 255) return QStringLiteral("COM port %1 is outside 1 to 255").arg(match.captured(1));
  }
  return {};
}

ConfigResult ParseMonitorConfig(std::string_view text, const QString& fileName) {
  toml::table root;
  try {
    root = toml::parse(text, fileName.toStdString());
  } catch (const toml::parse_error& e) {
    return Refuse(fileName, e.source(), Text(e.description()));
  }

  MonitorConfig config;
  config.file = fileName;
  std::map<QString, int> names;  // name -> line
  std::map<QString, int> ports;

  for (auto&& [key, node] : root) {
    const QString k = Text(key.str());
    if (k == QStringLiteral("http")) {
      const toml::table* http = node.as_table();
      if (http == nullptr) return Refuse(fileName, node.source(), QStringLiteral("http must be a table: [http]"));
      for (auto&& [hk, hv] : *http) {
        const QString h = Text(hk.str());
        if (h != QStringLiteral("listen")) {
          return Refuse(fileName, hk.source(), QStringLiteral("unknown key \"%1\" in [http]").arg(h));
        }
        const auto* s = hv.as_string();
        if (s == nullptr) return Refuse(fileName, hv.source(), QStringLiteral("listen must be a string \"ADDRESS:PORT\""));
        QString why;
        const auto address = ParseListenAddress(Text(s->get()), &why);
        if (!address) return Refuse(fileName, hv.source(), QStringLiteral("listen: %1").arg(why));
        config.listen = *address;
      }
    } else if (k == QStringLiteral("receiver")) {
      const toml::array* list = node.as_array();
      if (list == nullptr || !list->is_array_of_tables()) {
        return Refuse(fileName, node.source(), QStringLiteral("receiver must be an array of tables: write [[receiver]]"));
      }
      for (const toml::node& item : *list) {
        const toml::table& t = *item.as_table();
        ReceiverConfig r;
        r.line = static_cast<int>(t.source().begin.line);
        bool havePort = false;
        for (auto&& [rk, rv] : t) {
          const QString f = Text(rk.str());
          if (f == QStringLiteral("retention")) {
            const auto* n = rv.as_integer();
            if (n == nullptr || n->get() < 1 || n->get() > 3650) {
              return Refuse(fileName, rv.source(), QStringLiteral("retention must be a whole number of days from 1 to 3650"));
            }
            r.retentionDays = static_cast<int>(n->get());
            continue;
          }
          QString* slot = f == QStringLiteral("name")     ? &r.name
                          : f == QStringLiteral("port")   ? &r.port
                          : f == QStringLiteral("type")   ? &r.type
                          : f == QStringLiteral("record") ? &r.record
                                                          : nullptr;
          if (slot == nullptr) {
            return Refuse(fileName, rk.source(),
                          QStringLiteral("unknown key \"%1\" in [[receiver]] (known: name, port, type, record, retention)").arg(f));
          }
          const auto* s = rv.as_string();
          if (s == nullptr) return Refuse(fileName, rv.source(), QStringLiteral("%1 must be a string").arg(f));
          *slot = Text(s->get());
          if (f == QStringLiteral("port")) havePort = true;
        }
        if (r.name.isEmpty()) return Refuse(fileName, t.source(), QStringLiteral("a [[receiver]] without a name"));
        if (HasControlCharacters(r.name)) return Refuse(fileName, t.source(), QStringLiteral("the name \"%1\" holds control characters").arg(r.name));
        if (!havePort) return Refuse(fileName, t.source(), QStringLiteral("receiver \"%1\" has no port").arg(r.name));
        if (const QString bad = CheckPortName(r.port); !bad.isEmpty()) {
          return Refuse(fileName, t.source(), QStringLiteral("receiver \"%1\": %2").arg(r.name, bad));
        }
        if (!r.type.isEmpty() && !ReceiverTypeNames().contains(r.type)) {
          return Refuse(fileName, t.source(), QStringLiteral("receiver \"%1\": unknown type \"%2\" (one of %3)")
                                                  .arg(r.name, r.type, ReceiverTypeNames().join(QStringLiteral(", "))));
        }
        if (const auto it = names.find(r.name); it != names.end()) {
          return Refuse(fileName, t.source(), QStringLiteral("duplicate receiver name \"%1\" (first at line %2)").arg(r.name).arg(it->second));
        }
        // Two sessions on one device would steal each other's bytes; simulated ports are separate receivers.
        if (!r.port.startsWith(QStringLiteral("sim:"))) {
          if (const auto it = ports.find(r.port); it != ports.end()) {
            return Refuse(fileName, t.source(), QStringLiteral("port %1 is already used by the receiver at line %2").arg(r.port).arg(it->second));
          }
          ports.emplace(r.port, r.line);
        }
        names.emplace(r.name, r.line);
        config.receivers.push_back(r);
      }
    } else {
      return Refuse(fileName, key.source(), QStringLiteral("unknown key \"%1\" (known: http, receiver)").arg(k));
    }
  }
  return {config, {}};
}

ConfigResult LoadMonitorConfig(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    return {std::nullopt, QStringLiteral("%1: cannot read the configuration: %2").arg(fileName, file.errorString())};
  }
  const QByteArray text = file.readAll();
  return ParseMonitorConfig(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), fileName);
}

QString DefaultConfigPath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  const QString user = base + QStringLiteral("/halvix/monitor.toml");
  if (QFileInfo::exists(user)) return user;
  return QStringLiteral("/etc/halvix/monitor.toml");
}

}  // namespace halvix::monitor
