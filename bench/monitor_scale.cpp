// The monitor at scale: N in-process simulated receivers on the wall clock,
// one thread. Prints the share of one core the receivers and their simulators
// take, resident memory per receiver, one scrape's time, and how late the poll
// rounds of the others run while a tenth of the receivers negotiate again.
// Each N runs in a process of its own so memory is counted from a clean start.
//   bench_monitor_scale                  N = 100 and 1000
//   bench_monitor_scale --receivers=N [--seconds=S]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

#include "link/clock.h"
#include "monitor/exposition.h"
#include "monitor/http_endpoints.h"
#include "monitor/monitor.h"
#include "session/scheduler.h"

using namespace halvix;

namespace {

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ResidentBytes() {
  QFile f(QStringLiteral("/proc/self/statm"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = f.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) : 0;
}

void RunFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// The longest time between two poll rounds of one session.
class RoundProbe final : public session::SessionObserver {
 public:
  explicit RoundProbe(link::Clock& clock) : clock_(clock) {}
  void roundHousekeeping(session::ReceiverSession&) override {
    const std::int64_t now = clock_.nowMs();
    if (last_ >= 0) longest_ = std::max(longest_, now - last_);
    last_ = now;
  }
  void reset() { last_ = -1, longest_ = 0; }
  std::int64_t longest() const { return longest_; }

 private:
  link::Clock& clock_;
  std::int64_t last_ = -1;
  std::int64_t longest_ = 0;
};

int RunOne(int receivers, int seconds) {
  const double rss0 = ResidentBytes();
  link::SystemClock clock;
  session::QtScheduler scheduler(clock);
  monitor::Monitor monitor(scheduler);
  for (const auto& r : monitor::SimulatedReceivers(receivers)) monitor.addReceiver(r);
  std::vector<std::unique_ptr<RoundProbe>> probes;
  for (std::size_t i = 0; i < monitor.size(); ++i) {
    probes.push_back(std::make_unique<RoundProbe>(clock));
    monitor.session(i).addObserver(probes.back().get());
  }
  monitor.start();
  // Past every break sequence (about 5.6 s) and the start-up queries.
  RunFor(9000);

  // A tenth negotiate again meanwhile: their pauses must not stall the rest.
  for (std::size_t i = 0; i < monitor.size(); i += 10) monitor.session(i).restartNegotiation();
  for (auto& p : probes) p->reset();
  const double cpu0 = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  RunFor(seconds * 1000);
  const double cpu = CpuSeconds() - cpu0;
  const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
  const double rss = ResidentBytes();

  std::int64_t longestOther = 0;
  int up = 0;
  for (std::size_t i = 0; i < monitor.size(); ++i) {
    if (i % 10 != 0) longestOther = std::max(longestOther, probes[i]->longest());
    if (monitor.state(i).up()) ++up;
  }

  std::vector<double> scrapes;
  qsizetype bytes = 0;
  for (int k = 0; k < 7; ++k) {
    QElapsedTimer t;
    t.start();
    const QByteArray text = monitor::Exposition(monitor.states());
    scrapes.push_back(static_cast<double>(t.nsecsElapsed()) * 1e-6);
    bytes = text.size();
  }
  std::sort(scrapes.begin(), scrapes.end());

  // The same over HTTP on loopback, as Prometheus scrapes it.
  monitor::HttpEndpoints http(monitor);
  const quint16 port = http.listen(QHostAddress::LocalHost, 0);
  QNetworkAccessManager network;
  network.setProxy(QNetworkProxy::NoProxy);
  std::vector<double> gets;
  for (int k = 0; k < 5 && port != 0; ++k) {
    QElapsedTimer t;
    t.start();
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/metrics").arg(port))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->readAll();
    gets.push_back(static_cast<double>(t.nsecsElapsed()) * 1e-6);
    reply->deleteLater();
  }
  std::sort(gets.begin(), gets.end());

  std::printf("receivers %5d | core share %5.1f %% | RSS %6.1f MB, %6.3f MB per receiver | "
              "exposition %7.2f ms, GET /metrics %7.2f ms median (%lld kB) | longest poll round of the others %lld ms (nominal 1200) | up %d\n",
              receivers, 100.0 * cpu / elapsed, rss / 1e6, (rss - rss0) / 1e6 / receivers,
              scrapes[scrapes.size() / 2], gets.empty() ? -1.0 : gets[gets.size() / 2],
              static_cast<long long>(bytes / 1024),
              static_cast<long long>(longestOther), up);
  std::fflush(stdout);
  for (std::size_t i = 0; i < monitor.size(); ++i) monitor.session(i).removeObserver(probes[i].get());
  monitor.stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int receivers = 0;
  int seconds = 20;
  for (const QString& a : app.arguments().mid(1)) {
    if (a.startsWith(QStringLiteral("--receivers="))) receivers = a.mid(12).toInt();
    else if (a.startsWith(QStringLiteral("--seconds="))) seconds = std::max(1, a.mid(10).toInt());
  }
  if (receivers > 0) return RunOne(receivers, seconds);
  int status = 0;
  for (const int n : {100, 1000}) {
    status |= QProcess::execute(app.applicationFilePath(),
                                {QStringLiteral("--receivers=%1").arg(n), QStringLiteral("--seconds=%1").arg(seconds)});
  }
  return status;
}
