// halvix-monitor as a program, with real peers: halvix-sim on a pseudo-terminal
// as one of its receivers, promtool checking its exposition, and a Prometheus
// server on loopback scraping it. Skipped when Prometheus is not installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>

namespace {

quint16 FreeLoopbackPort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

// One GET on loopback; the body, or nothing when the server does not answer.
QByteArray HttpGet(quint16 port, const QByteArray& path, int* status = nullptr) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  if (!socket.waitForConnected(2000)) return {};
  socket.write("GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  // Read until the body is complete (by its length, or the close of an HTTP/1.0 answer):
  // the server may keep the connection open.
  QByteArray all;
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 5000) {
    all += socket.readAll();
    const qsizetype end = all.indexOf("\r\n\r\n");
    if (end >= 0) {
      qsizetype length = -1;
      for (const QByteArray& line : all.left(end).split('\n')) {
        if (line.toLower().startsWith("content-length:")) length = line.mid(15).trimmed().toLongLong();
      }
      if (length >= 0 && all.size() - (end + 4) >= length) {
        if (status != nullptr) *status = all.mid(9, 3).toInt();
        return all.mid(end + 4, length);
      }
    }
    if (!socket.waitForReadyRead(200) && socket.state() != QAbstractSocket::ConnectedState) break;
  }
  all += socket.readAll();
  const qsizetype end = all.indexOf("\r\n\r\n");
  if (end < 0) return {};
  if (status != nullptr) *status = all.mid(9, 3).toInt();
  return all.mid(end + 4);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < timeoutMs) {
    if (done()) return true;
    QThread::msleep(250);
  }
  return done();
}

// The value of one series line of an exposition, or -1 when absent.
double SeriesValue(const QByteArray& exposition, const QByteArray& series) {
  for (const QByteArray& line : exposition.split('\n')) {
    if (line.startsWith(series + ' ')) return line.mid(series.size() + 1).toDouble();
  }
  return -1;
}

void Stop(QProcess& p) {
  if (p.state() == QProcess::NotRunning) return;
  p.terminate();
  if (!p.waitForFinished(5000)) {
    p.kill();
    p.waitForFinished(5000);
  }
}

class MonitorProcess : public ::testing::Test {
 protected:
  void TearDown() override {
    for (QProcess* p : {&monitor, &sim, &prometheus}) Stop(*p);
  }

  bool startSim() {
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QStringLiteral(HALVIX_SIM_PATH), {QStringLiteral("--link=") + link});
    return sim.waitForStarted(5000) && WaitFor([&] { return QFile::exists(link); }, 5000);
  }

  QTemporaryDir dir;
  QString link = dir.filePath(QStringLiteral("receiver"));
  QProcess monitor, sim, prometheus;
};

}  // namespace

TEST_F(MonitorProcess, ThreeReceiversScrapedByPrometheusOneComesAndGoes) {
  const QString promtool = QStandardPaths::findExecutable(QStringLiteral("promtool"));
  const QString server = QStandardPaths::findExecutable(QStringLiteral("prometheus"));
  if (promtool.isEmpty() || server.isEmpty()) GTEST_SKIP() << "prometheus and promtool are not installed";

  ASSERT_TRUE(startSim());
  const quint16 port = FreeLoopbackPort();
  ASSERT_NE(port, 0);
  const QString config = dir.filePath(QStringLiteral("monitor.toml"));
  {
    QFile f(config);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("[http]\nlisten = \"127.0.0.1:%1\"\n"
                           "[[receiver]]\nname = \"sim-a\"\nport = \"sim:corvel\"\n"
                           "[[receiver]]\nname = \"sim-b\"\nport = \"sim:brisel\"\n"
                           "[[receiver]]\nname = \"pty\"\nport = \"%2\"\nrecord = \"%3\"\n")
                .arg(port).arg(link, dir.filePath(QStringLiteral("rec"))).toUtf8());
  }
  monitor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  monitor.start(QStringLiteral(HALVIX_MONITOR_PATH), {QStringLiteral("--config=") + config});
  ASSERT_TRUE(monitor.waitForStarted(5000));
  ASSERT_TRUE(WaitFor([&] { return HttpGet(port, "/healthz") == "ok\n"; }, 10'000));

  // All three up, the pseudo-terminal one after its break sequence.
  QByteArray metrics;
  const auto allUp = [&] {
    metrics = HttpGet(port, "/metrics");
    for (const char* name : {"sim-a", "sim-b", "pty"}) {
      if (SeriesValue(metrics, QByteArray("halvix_receiver_up{receiver=\"") + name + "\"}") != 1) return false;
    }
    return true;
  };
  ASSERT_TRUE(WaitFor(allUp, 20'000)) << metrics.constData();

  // promtool lints the exposition.
  QProcess check;
  check.setProcessChannelMode(QProcess::MergedChannels);
  check.start(promtool, {QStringLiteral("check"), QStringLiteral("metrics")});
  ASSERT_TRUE(check.waitForStarted(5000));
  check.write(metrics);
  check.closeWriteChannel();
  ASSERT_TRUE(check.waitForFinished(10'000));
  EXPECT_EQ(check.exitCode(), 0) << check.readAll().constData();

  // A real Prometheus scrapes it.
  const quint16 promPort = FreeLoopbackPort();
  const QString promConfig = dir.filePath(QStringLiteral("prometheus.yml"));
  {
    QFile f(promConfig);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n"
                           "scrape_configs:\n  - job_name: halvix\n    static_configs:\n"
                           "      - targets: ['127.0.0.1:%1']\n").arg(port).toUtf8());
  }
  prometheus.setProcessChannelMode(QProcess::MergedChannels);
  prometheus.setStandardOutputFile(dir.filePath(QStringLiteral("prometheus.log")));
  prometheus.start(server, {QStringLiteral("--config.file=") + promConfig,
                            QStringLiteral("--storage.tsdb.path=") + dir.filePath(QStringLiteral("tsdb")),
                            QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(promPort)});
  ASSERT_TRUE(prometheus.waitForStarted(5000));
  QJsonArray result;
  const bool scraped = WaitFor([&] {
    const QByteArray body = HttpGet(promPort, "/api/v1/query?query=halvix_pps_offset_seconds");
    result = QJsonDocument::fromJson(body).object().value(QStringLiteral("data")).toObject()
                 .value(QStringLiteral("result")).toArray();
    return result.size() == 3;
  }, 40'000);
  ASSERT_TRUE(scraped) << QJsonDocument(result).toJson().constData();

  // The pseudo-terminal's receiver goes away: down within 5 s, the others go on.
  Stop(sim);
  QElapsedTimer lost;
  lost.start();
  ASSERT_TRUE(WaitFor([&] {
    metrics = HttpGet(port, "/metrics");
    return SeriesValue(metrics, "halvix_receiver_up{receiver=\"pty\"}") == 0;
  }, 8000));
  EXPECT_LE(lost.elapsed(), 5500);
  RecordProperty("down_shown_after_ms", static_cast<int>(lost.elapsed()));
  EXPECT_EQ(SeriesValue(metrics, "halvix_receiver_up{receiver=\"sim-a\"}"), 1);
  EXPECT_EQ(SeriesValue(metrics, "halvix_receiver_up{receiver=\"sim-b\"}"), 1);

  // It comes back by itself.
  ASSERT_TRUE(startSim());
  ASSERT_TRUE(WaitFor([&] {
    metrics = HttpGet(port, "/metrics");
    return SeriesValue(metrics, "halvix_receiver_up{receiver=\"pty\"}") == 1;
  }, 20'000)) << metrics.constData();
  EXPECT_GE(SeriesValue(metrics, "halvix_reconnects_total{receiver=\"pty\"}"), 1);

  // SIGTERM ends it cleanly with its recording closed.
  monitor.terminate();
  ASSERT_TRUE(monitor.waitForFinished(10'000));
  EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(monitor.exitCode(), 0);
  const QStringList days = QDir(dir.filePath(QStringLiteral("rec"))).entryList({QStringLiteral("*.qlp")});
  ASSERT_EQ(days.size(), 1);
  EXPECT_GT(QFileInfo(QDir(dir.filePath(QStringLiteral("rec"))).filePath(days.first())).size(), 1000);
}

// What the operator sees for a bad configuration, and exit status 78.
TEST_F(MonitorProcess, BadConfigurationIsRefusedBeforeAnythingStarts) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"[[receiver]]\nname = \"a\"\nport = \"sim:corvel\"\ncolour = \"red\"\n", ":4: unknown key \"colour\""},
      {"[[receiver]]\nname = \"a\"\n", ":1: receiver \"a\" has no port"},
      {"[http]\nlisten = \"10.0.0.300:80\"\n", ":2: listen: \"10.0.0.300\" is not an IP address"},
  };
  const QString config = dir.filePath(QStringLiteral("bad.toml"));
  for (const auto& c : cases) {
    QFile f(config);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(c.text);
    f.close();
    QProcess p;
    p.start(QStringLiteral(HALVIX_MONITOR_PATH), {QStringLiteral("--config=") + config});
    ASSERT_TRUE(p.waitForFinished(10'000));
    EXPECT_EQ(p.exitCode(), 78) << c.text;
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(config + QString::fromLatin1(c.message))) << err.toStdString();
  }
  QProcess missing;
  missing.start(QStringLiteral(HALVIX_MONITOR_PATH), {QStringLiteral("--config=/nonexistent.toml")});
  ASSERT_TRUE(missing.waitForFinished(10'000));
  EXPECT_EQ(missing.exitCode(), 78);
}

TEST_F(MonitorProcess, SimulatedReceiversWithoutAFileAndSigintEndsIt) {
  const quint16 port = FreeLoopbackPort();
  monitor.start(QStringLiteral(HALVIX_MONITOR_PATH),
                {QStringLiteral("--simulate=3"), QStringLiteral("--listen=127.0.0.1:%1").arg(port)});
  ASSERT_TRUE(monitor.waitForStarted(5000));
  QByteArray json;
  ASSERT_TRUE(WaitFor([&] {
    json = HttpGet(port, "/receivers");
    const QJsonArray list = QJsonDocument::fromJson(json).array();
    if (list.size() != 3) return false;
    for (const auto& r : list) {
      if (!r.toObject().value(QStringLiteral("up")).toBool()) return false;
    }
    return true;
  }, 20'000)) << json.constData();
  ::kill(static_cast<pid_t>(monitor.processId()), SIGINT);
  ASSERT_TRUE(monitor.waitForFinished(10'000));
  EXPECT_EQ(monitor.exitCode(), 0);
}
