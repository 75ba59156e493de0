// Halvix through a real serial server: ser2net serving a pseudo-terminal on
// loopback, as telnet with the COM port option and as raw TCP. What reaches
// the pseudo-terminal must be what Halvix sends on it directly; a baud change
// must reach its line settings; a server that goes and comes back is a pulled
// cable. Skipped where ser2net is not installed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "link/qt_serial_device.h"
#include "link/rfc2217_device.h"
#include "link/serial_link.h"
#include "tests/process/halvix_run.h"
#include "tests/process/pseudo_terminal.h"
#include "tests/process/sim_program.h"
#include "tests/support/wire_frames.h"

using halvix::testing::HalvixRun;
using halvix::testing::PseudoTerminal;
using Frame = QByteArray;

namespace {

Frame F(std::initializer_list<int> bytes) {
  Frame f;
  for (int b : bytes) f.append(static_cast<char>(b));
  return f;
}

QString ser2netProgram() {
  QString p = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
  if (p.isEmpty()) p = QStandardPaths::findExecutable(QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin")});
  return p;
}

// A loopback port nobody listens on right now.
quint16 freePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

// Whether something listens on 127.0.0.1:port, read from /proc so that no
// probe connection opens the served device.
bool listening(quint16 port) {
  QFile f(QStringLiteral("/proc/net/tcp"));
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray local = QByteArray("0100007F:") + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
  for (const QByteArray& line : f.readAll().split('\n')) {
    const QList<QByteArray> cols = line.simplified().split(' ');
    if (cols.size() > 3 && cols[1] == local && cols[3] == "0A") return true;
  }
  return false;
}

// ser2net serving one device on one loopback port, with its own configuration.
class Ser2net {
 public:
  Ser2net(const QString& device, bool rfc2217, quint16 port) : port_(port) {
    const QString config = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return;
    f.write(QStringLiteral("%YAML 1.1\n---\nconnection: &r\n  accepter: %1tcp,127.0.0.1,%2\n"
                           "  connector: serialdev,%3,9600n81,local\n")
                .arg(rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString())
                .arg(port)
                .arg(device)
                .toUtf8());
    f.close();
    args_ = {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"), config, QStringLiteral("-P"),
             dir_.filePath(QStringLiteral("ser2net.pid"))};
  }
  ~Ser2net() { stop(); }
  bool start() {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(ser2netProgram(), args_);
    if (!process_.waitForStarted(5000)) return false;
    QElapsedTimer t;
    t.start();
    while (!listening(port_) && t.elapsed() < 5000) QThread::msleep(20);
    return listening(port_);
  }
  void stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished(2000);
  }
  QString url(const char* scheme) const { return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(scheme)).arg(port_); }
  QString output() { return QString::fromLocal8Bit(process_.readAll()); }

 private:
  QTemporaryDir dir_;
  quint16 port_;
  QStringList args_;
  QProcess process_;
};

// What reaches the pseudo-terminal, split into frames.
struct Wire {
  PseudoTerminal& pty;
  QByteArray bytes;
  std::vector<Frame> frames() const { return halvix::testing::SplitFrames(bytes); }
  bool waitFor(const Frame& frame, int timeoutMs, int count = 1) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
      bytes += pty.read(100);
      const auto f = frames();
      if (std::count(f.begin(), f.end(), frame) >= count) return true;
    }
    return false;
  }
};

speed_t outputSpeed(const QString& path) {
  const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return 0;
  termios t{};
  const speed_t s = tcgetattr(fd, &t) == 0 ? cfgetospeed(&t) : 0;
  ::close(fd);
  return s;
}

class SerialServerProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ser2netProgram().isEmpty()) GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
    ASSERT_TRUE(pty.ok());
    port = freePort();
    ASSERT_NE(port, 0);
  }
  PseudoTerminal pty;
  quint16 port = 0;
};

const Frame kVersion = F({0x1F, 0x00, 0x00});
const Frame kFirstPoll = F({0x24});

// The start-up frames after the set-serial-port command: the first poll cycle.
std::vector<Frame> startupFrames(const Frame& setSerialPort) {
  return {kVersion, setSerialPort, F({0x3C, 0x00}), kVersion, F({0x21}), F({0x8E, 0x42}), F({0x26}),
          F({0x8E, 0x0B}), kFirstPoll};
}

}  // namespace

TEST_F(SerialServerProcess, ThroughRfc2217TheReceiverGetsWhatADirectPortGetsAndTheBaudChangeReachesTheLine) {
  Ser2net server(pty.slavePath(), true, port);
  ASSERT_TRUE(server.start()) << server.output().toStdString();
  HalvixRun halvix(server.url("rfc2217"));
  ASSERT_TRUE(halvix.process.waitForStarted(10000));

  Wire wire{pty, {}};
  ASSERT_TRUE(wire.waitFor(kVersion, 15000)) << halvix.log().toStdString();
  // The receiver answers the BREAK with its settings line: 19200 baud.
  ASSERT_TRUE(pty.write(QByteArrayLiteral("PR;x,1,y,19200,8,1,N,z\r\n")));
  ASSERT_TRUE(wire.waitFor(kFirstPoll, 20000)) << wire.bytes.toHex(' ').constData();
  const Frame set19200 = F({0xBC, 0xFF, 0x08, 0x08, 0x03, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00});
  EXPECT_EQ(wire.frames(), startupFrames(set19200)) << wire.bytes.toHex(' ').constData();

  // SET-BAUDRATE reached the pseudo-terminal's line settings.
  QElapsedTimer t;
  t.start();
  while (outputSpeed(pty.slavePath()) != B19200 && t.elapsed() < 5000) QThread::msleep(50);
  EXPECT_EQ(outputSpeed(pty.slavePath()), static_cast<speed_t>(B19200));
  EXPECT_FALSE(halvix.log().contains(QStringLiteral("malformed"))) << halvix.log().toStdString();
}

TEST_F(SerialServerProcess, RawTcpCarriesTheFramesAndSaysOnceThatTheLineStaysAtTheServer) {
  Ser2net server(pty.slavePath(), false, port);
  ASSERT_TRUE(server.start()) << server.output().toStdString();
  HalvixRun halvix(server.url("tcp"));
  ASSERT_TRUE(halvix.process.waitForStarted(10000));
  Wire wire{pty, {}};
  ASSERT_TRUE(wire.waitFor(kFirstPoll, 25000)) << wire.bytes.toHex(' ').constData();
  const Frame setDefaults = F({0xBC, 0xFF, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x02, 0x02, 0x00});
  EXPECT_EQ(wire.frames(), startupFrames(setDefaults)) << wire.bytes.toHex(' ').constData();
  EXPECT_EQ(halvix.log().count(QStringLiteral("raw TCP carries no line settings")), 1) << halvix.log().toStdString();
  EXPECT_EQ(outputSpeed(pty.slavePath()), static_cast<speed_t>(B9600)) << "the server's own setting stays";
}

TEST_F(SerialServerProcess, AServerStoppedAndStartedAgainIsAReconnect) {
  auto server = std::make_unique<Ser2net>(pty.slavePath(), true, port);
  ASSERT_TRUE(server->start());
  HalvixRun halvix(server->url("rfc2217"));
  ASSERT_TRUE(halvix.process.waitForStarted(10000));
  Wire wire{pty, {}};
  ASSERT_TRUE(wire.waitFor(kFirstPoll, 25000)) << halvix.log().toStdString();

  server.reset();
  ASSERT_TRUE(halvix.waitForLog(QStringLiteral("disconnected"), 5000)) << halvix.log().toStdString();
  QThread::sleep(3);  // a few refused tries
  EXPECT_EQ(halvix.log().count(QStringLiteral("Connection refused")), 1) << "a refusal that repeats is logged once";

  server = std::make_unique<Ser2net>(pty.slavePath(), true, port);
  ASSERT_TRUE(server->start());
  wire.bytes.clear();
  EXPECT_TRUE(halvix.waitForLog(QStringLiteral("is back"), 10000)) << halvix.log().toStdString();
  EXPECT_TRUE(wire.waitFor(kVersion, 10000)) << "the break sequence runs again";
  EXPECT_TRUE(wire.waitFor(kFirstPoll, 20000)) << "and routine polling resumes";
}

TEST_F(SerialServerProcess, TheSimulatedReceiverAnswersThroughTheServerAsItDoesDirectly) {
  QProcess sim;
  const QString simPath = halvix::testing::StartSimProgram(sim);
  ASSERT_TRUE(simPath.startsWith(QLatin1String("/dev/"))) << simPath.toStdString();

  // The version report for 1F 00 00, first on the port itself, then through the server.
  auto versionThrough = [](halvix::link::SerialDevice& device, const QString& name) -> QByteArray {
    halvix::link::SystemClock clock;
    halvix::link::SerialLink link(device, clock);
    if (link.OpenLink(name) != 0) return {};
    const std::uint8_t request[] = {0x1F, 0x00, 0x00};
    link.SendPacket(3, request);
    QByteArray payload;
    QElapsedTimer t;
    t.start();
    while (payload.isEmpty() && t.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      link.PollPort([&payload](halvix::link::SerialLink& l) {
        if (l.id == 0x45) payload = QByteArray(reinterpret_cast<const char*>(l.payload.data()), l.completedLength);
      }, false);
      QThread::msleep(20);
    }
    link.CloseLink();
    return payload;
  };
  halvix::link::QtSerialDevice direct;
  const QByteArray directly = versionThrough(direct, simPath);
  ASSERT_EQ(directly.size(), 96);

  Ser2net server(simPath, true, port);
  ASSERT_TRUE(server.start());
  halvix::link::Rfc2217Device networked;
  EXPECT_EQ(versionThrough(networked, server.url("rfc2217")), directly);
  sim.terminate();
  sim.waitForFinished(5000);
}
