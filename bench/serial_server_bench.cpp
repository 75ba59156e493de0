// Figures for a receiver behind a serial server on this machine:
//  - the round trip of a software version request (1F 00 00) and its report
//    (0x45) to halvix-sim, on its pseudo-terminal directly and through ser2net
//    on loopback (RFC 2217 and raw TCP), requests 100 ms apart as Halvix
//    sends them: median and 99th percentile;
//  - the CPU an idle RFC 2217 connection costs Halvix's side (the link polled
//    every 200 ms as the link timer does) and ser2net, over a minute.
// Usage: bench_serial_server [ROUND_TRIPS=300] [IDLE_SECONDS=60] [PORT_NAME...]
// Each further port name (a path or a serial server's address that reaches a
// receiver or halvix-sim) is timed the same way first.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "link/network_port.h"
#include "link/serial_link.h"

using namespace halvix::link;

namespace {

double cpuSecondsOf(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return -1;
  const QByteArray text = stat.readAll();
  const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
  return (f.value(11).toDouble() + f.value(12).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ownCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop until an event comes or 50 ms pass: no busy waiting.
void waitForEvents() {
  QEventLoop loop;
  QTimer::singleShot(50, &loop, &QEventLoop::quit);
  loop.processEvents(QEventLoop::WaitForMoreEvents);
}

class Ser2net {
 public:
  Ser2net(const QString& device, bool rfc2217) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port_ = probe.serverPort();
    probe.close();
    const QString config = dir_.filePath(QStringLiteral("s.yaml"));
    QFile f(config);
    if (f.open(QIODevice::WriteOnly)) {
      f.write(QStringLiteral("%YAML 1.1\n---\nconnection: &r\n  accepter: %1tcp,127.0.0.1,%2\n"
                             "  connector: serialdev,%3,9600n81,local\n")
                  .arg(rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString())
                  .arg(port_)
                  .arg(device)
                  .toUtf8());
    }
    f.close();
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("ser2net"), {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"), config,
                                               QStringLiteral("-P"), dir_.filePath(QStringLiteral("pid"))});
    process_.waitForStarted(5000);
    QThread::msleep(500);
  }
  ~Ser2net() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
  }
  QString url(const char* scheme) const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(port_);
  }
  qint64 pid() const { return process_.processId(); }
  bool running() const { return process_.state() == QProcess::Running; }

 private:
  QTemporaryDir dir_;
  quint16 port_ = 0;
  QProcess process_;
};

struct Figures {
  double medianMs = 0;
  double p99Ms = 0;
  int lost = 0;
};

Figures roundTrips(const QString& name, int count) {
  Figures out;
  std::unique_ptr<SerialDevice> device = makeDeviceForPort(name);
  SystemClock clock;
  SerialLink link(*device, clock);
  if (link.OpenLink(name) != 0) {
    std::fprintf(stderr, "cannot open %s\n", name.toLocal8Bit().constData());
    out.lost = count;
    return out;
  }
  // Let a telnet server's negotiation settle.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 1000) {
    waitForEvents();
    link.PollPort({}, false);
  }
  const std::uint8_t frame[] = {0x10, 0x1F, 0x00, 0x00, 0x10, 0x03};
  std::vector<double> ms;
  for (int i = 0; i < count; ++i) {
    // Frames leave at least 100 ms apart, as Halvix sends them. Back to back,
    // a server that holds its second segment for the client's delayed
    // acknowledgement adds tens of milliseconds that Halvix never sees.
    QElapsedTimer gap;
    gap.start();
    while (gap.elapsed() < SerialLink::kSendSpacingMs) {
      waitForEvents();
      link.PollPort({}, false);
    }
    bool answered = false;
    QElapsedTimer t;
    t.start();
    device->write(frame, sizeof frame);
    while (!answered && t.elapsed() < 2000) {
      link.PollPort([&answered](SerialLink& l) { answered = answered || l.id == 0x45; }, false);
      if (!answered) waitForEvents();
    }
    if (answered) {
      ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    } else {
      ++out.lost;
    }
  }
  link.CloseLink();
  if (ms.empty()) return out;
  std::sort(ms.begin(), ms.end());
  out.medianMs = ms[ms.size() / 2];
  out.p99Ms = ms[std::min(ms.size() - 1, static_cast<size_t>(static_cast<double>(ms.size()) * 0.99))];
  return out;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const int count = argc > 1 ? std::max(10, atoi(argv[1])) : 300;
  const int idleSeconds = argc > 2 ? std::max(5, atoi(argv[2])) : 60;
  if (QStandardPaths::findExecutable(QStringLiteral("ser2net")).isEmpty()) {
    std::fprintf(stderr, "ser2net is not installed\n");
    return 1;
  }

  for (int i = 3; i < argc; ++i) {
    const Figures f = roundTrips(QString::fromLocal8Bit(argv[i]), count);
    std::printf("  %-26s median %7.2f ms   p99 %7.2f ms   unanswered %d\n", argv[i], f.medianMs, f.p99Ms, f.lost);
  }

  QProcess sim;
  sim.start(QStringLiteral(HALVIX_SIM_PATH), {});
  if (!sim.waitForStarted(5000)) return 1;
  while (!sim.canReadLine()) sim.waitForReadyRead(100);
  const QString pty = QString::fromLocal8Bit(sim.readLine()).trimmed();

  std::printf("round trip of 1F 00 00 -> 0x45 to halvix-sim, %d each\n", count);
  const auto show = [](const char* how, const Figures& f) {
    std::printf("  %-26s median %7.2f ms   p99 %7.2f ms   unanswered %d\n", how, f.medianMs, f.p99Ms, f.lost);
    std::fflush(stdout);
  };
  show("pseudo-terminal directly", roundTrips(pty, count));
  {
    Ser2net server(pty, true);
    show("ser2net, RFC 2217", roundTrips(server.url("rfc2217"), count));
  }
  {
    Ser2net server(pty, false);
    show("ser2net, raw TCP", roundTrips(server.url("tcp"), count));
  }
  sim.terminate();
  sim.waitForFinished(5000);

  // Idle: a pseudo-terminal that says nothing behind the server.
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return 1;
  const QString quiet = QString::fromLocal8Bit(ptsname(master));
  Ser2net server(quiet, true);
  std::unique_ptr<SerialDevice> device = makeDeviceForPort(server.url("rfc2217"));
  SystemClock clock;
  SerialLink link(*device, clock);
  if (link.OpenLink(server.url("rfc2217")) != 0) return 1;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&link] { link.PollPort({}, false); });
  poll.start(200);
  const double ownBefore = ownCpuSeconds();
  const double serverBefore = cpuSecondsOf(server.pid());
  QEventLoop idle;
  QTimer::singleShot(idleSeconds * 1000, &idle, &QEventLoop::quit);
  idle.exec();
  std::printf("idle RFC 2217 connection over %d s: this side %.3f s CPU (%.3f %%), ser2net %.3f s CPU\n",
              idleSeconds, ownCpuSeconds() - ownBefore, 100.0 * (ownCpuSeconds() - ownBefore) / idleSeconds,
              cpuSecondsOf(server.pid()) - serverBefore);
  link.CloseLink();
  ::close(master);
  return 0;
}
