// halvix-monitor: watches receivers without a screen and serves their state
// to Prometheus over HTTP.
#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <cstdio>
#include <optional>

#include "link/clock.h"
#include "monitor/http_endpoints.h"
#include "monitor/monitor.h"
#include "monitor/monitor_config.h"
#include "monitor/termination_signals.h"
#include "session/scheduler.h"

using namespace halvix;
using namespace halvix::monitor;

namespace {

constexpr int kExitUsage = 2;
constexpr int kMaxSimulated = 10'000;

const char* kUsage =
    "Usage: halvix-monitor [--config=FILE] [--simulate=N] [--listen=ADDR:PORT] [--help] [--version]\n"
    "\n"
    "Watches GPS timing receivers and serves their state over HTTP:\n"
    "  GET /metrics    the Prometheus text exposition\n"
    "  GET /receivers  the receivers as JSON\n"
    "  GET /healthz    \"ok\"\n"
    "\n"
    "  --config=FILE       the configuration (default $XDG_CONFIG_HOME/halvix/monitor.toml,\n"
    "                      else /etc/halvix/monitor.toml)\n"
    "  --simulate=N        watch N built-in simulated receivers (no configuration file needed)\n"
    "  --listen=ADDR:PORT  the HTTP address (default 127.0.0.1:9468)\n"
    "\n"
    "Exit status: 0 after SIGTERM or SIGINT, 2 for a bad option, 78 for a bad configuration.\n";

int Refuse(int status, const QString& text) {
  std::fprintf(stderr, "halvix-monitor: %s\n", qPrintable(text));
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString configFile;
  QString listenText;
  std::optional<int> simulate;
  const QStringList args = app.arguments().mid(1);
  for (const QString& arg : args) {
    if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == QStringLiteral("--version")) {
      std::printf("halvix-monitor %s\n", HALVIX_VERSION);
      return 0;
    }
    if (arg.startsWith(QStringLiteral("--config="))) {
      configFile = arg.mid(9);
      if (configFile.isEmpty()) return Refuse(kExitUsage, QStringLiteral("--config= needs a file name"));
    } else if (arg.startsWith(QStringLiteral("--listen="))) {
      listenText = arg.mid(9);
    } else if (arg.startsWith(QStringLiteral("--simulate="))) {
      bool ok = false;
      const int n = arg.mid(11).toInt(&ok);
      if (!ok || n < 1 || n > kMaxSimulated) {
        return Refuse(kExitUsage, QStringLiteral("--simulate=N needs N from 1 to %1").arg(kMaxSimulated));
      }
      simulate = n;
    } else {
      std::fputs(kUsage, stderr);
      return Refuse(kExitUsage, QStringLiteral("unknown option %1").arg(arg));
    }
  }

  MonitorConfig config;
  if (!simulate || !configFile.isEmpty()) {
    const QString file = configFile.isEmpty() ? DefaultConfigPath() : configFile;
    const ConfigResult result = LoadMonitorConfig(file);
    if (!result.config) return Refuse(kExitConfig, result.error);
    config = *result.config;
  }
  if (simulate) {
    for (const ReceiverConfig& r : SimulatedReceivers(*simulate)) {
      for (const ReceiverConfig& other : config.receivers) {
        if (other.name == r.name) {
          return Refuse(kExitConfig, QStringLiteral("%1:%2: the name \"%3\" is taken by --simulate")
                                         .arg(config.file).arg(other.line).arg(r.name));
        }
      }
      config.receivers.push_back(r);
    }
  }
  if (!listenText.isEmpty()) {
    QString why;
    const auto address = ParseListenAddress(listenText, &why);
    if (!address) return Refuse(kExitConfig, QStringLiteral("--listen: %1").arg(why));
    config.listen = *address;
  }

  link::SystemClock clock;
  session::QtScheduler scheduler(clock);
  Monitor monitor(scheduler);
  for (const ReceiverConfig& r : config.receivers) {
    QString why;
    if (!monitor.addReceiver(r, &why)) {
      return Refuse(kExitConfig, QStringLiteral("%1:%2: receiver \"%3\": %4").arg(config.file).arg(r.line).arg(r.name, why));
    }
  }

  HttpEndpoints http(monitor);
  if (http.listen(QHostAddress(config.listen.host), config.listen.port) == 0) {
    return Refuse(1, QStringLiteral("cannot listen on %1 (in use, or not an address of this host)").arg(config.listen.text()));
  }
  if (!QuitOnTerminationSignals()) qWarning("halvix-monitor: cannot install the SIGTERM and SIGINT handlers");

  if (config.receivers.empty()) {
    qInfo().noquote() << QStringLiteral("halvix-monitor: no receivers configured in %1; nothing to watch").arg(config.file);
  }
  qInfo().noquote() << QStringLiteral("halvix-monitor: %1 receiver(s); serving http://%2/metrics")
                           .arg(config.receivers.size())
                           .arg(config.listen.text());
  monitor.start();
  app.exec();
  monitor.stop();
  qInfo("halvix-monitor: stopped");
  return 0;
}
