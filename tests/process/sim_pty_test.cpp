// halvix-sim as a program: it serves a pseudo-terminal, answers a software
// version request on it, explains itself with --help and stops cleanly.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <vector>

#include "tests/process/sim_program.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Payloads of the complete frames with this id in a byte stream.
std::vector<Bytes> FramesWithId(const QByteArray& s, std::uint8_t id) {
  std::vector<Bytes> out;
  for (int i = 0; i + 1 < s.size(); ++i) {
    if (static_cast<std::uint8_t>(s[i]) != 0x10 || static_cast<std::uint8_t>(s[i + 1]) != id) continue;
    Bytes payload;
    for (int j = i + 2; j + 1 < s.size(); ++j) {
      const auto b = static_cast<std::uint8_t>(s[j]);
      const auto next = static_cast<std::uint8_t>(s[j + 1]);
      if (b == 0x10 && next == 0x10) {
        payload.push_back(0x10);
        ++j;
      } else if (b == 0x10 && next == 0x03) {
        out.push_back(payload);
        break;
      } else if (b == 0x10) {
        break;
      } else {
        payload.push_back(b);
      }
    }
  }
  return out;
}

class SimProcess : public ::testing::Test {
 protected:
  void TearDown() override {
    if (sim.state() != QProcess::NotRunning) {
      sim.kill();
      sim.waitForFinished(5000);
    }
  }
  // Starts halvix-sim and returns the pseudo-terminal path it printed.
  QString start(const QStringList& args = {}) { return halvix::testing::StartSimProgram(sim, args); }
  QProcess sim;
};

TEST_F(SimProcess, AnswersASoftwareVersionRequestOnItsPseudoTerminal) {
  const QString path = start({QStringLiteral("--persona=norden")});
  ASSERT_TRUE(path.startsWith(QLatin1String("/dev/"))) << path.toStdString();

  QSerialPort port;
  port.setPortName(path);
  ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
  port.setBaudRate(9600);
  const char request[] = {0x10, 0x1F, 0x00, 0x00, 0x10, 0x03};
  port.write(request, sizeof request);
  port.waitForBytesWritten(1000);

  QByteArray received;
  std::vector<Bytes> versions;
  QElapsedTimer t;
  t.start();
  while (versions.empty() && t.elapsed() < 4000) {
    if (port.bytesAvailable() == 0) port.waitForReadyRead(100);
    received += port.readAll();
    versions = FramesWithId(received, 0x45);
  }
  ASSERT_EQ(versions.size(), 1u);
  ASSERT_EQ(versions[0].size(), 96u) << "the full form for 1F 00 00";
  EXPECT_EQ(versions[0][0], 1);
  EXPECT_EQ(versions[0][1], 5);
  EXPECT_LE(versions[0][2], 12) << "month";

  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.exitCode(), 0);
}

TEST_F(SimProcess, HelpAndBadArguments) {
  sim.start(QStringLiteral(HALVIX_SIM_PATH), {QStringLiteral("--help")});
  ASSERT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitCode(), 0);
  const QString help = QString::fromLocal8Bit(sim.readAllStandardOutput());
  for (const char* word : {"--persona", "--device", "--speed", "--seed", "--fault", "brisel", "no-almanac"})
    EXPECT_TRUE(help.contains(QLatin1String(word))) << word;

  for (const char* bad : {"--persona=unknown", "--speed=0", "--fault=explode", "--frobnicate"}) {
    sim.start(QStringLiteral(HALVIX_SIM_PATH), {QLatin1String(bad)});
    ASSERT_TRUE(sim.waitForFinished(5000)) << bad;
    EXPECT_EQ(sim.exitCode(), 2) << bad;
    EXPECT_FALSE(sim.readAllStandardError().isEmpty()) << bad;
  }
}

// A recording of a few receiver-seconds, DLE bytes in its payloads included.
QByteArray SmallRecording(int seconds) {
  QByteArray r;
  for (int s = 0; s < seconds; ++s) {
    const char ab[] = {0x10, char(0x8F), char(0xAB), 0, 0, 0x10, 0x10, char(s), 0, 0, 0, 0,
                       0, 0, 0, 0, 0, 0, 0x10, 0x10, 0, 0x10, 0x03};
    const char health[] = {0x10, 0x46, 0x10, 0x10, 0x00, 0x10, 0x03};
    r.append(ab, sizeof ab);
    r.append(health, sizeof health);
  }
  return r;
}

TEST_F(SimProcess, ReplayServesTheRecordingsBytes) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("r.qlp"));
  const QByteArray recording = SmallRecording(20);
  {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(recording);
  }
  const QString path = start({QStringLiteral("--replay=") + name, QStringLiteral("--speed=10")});
  ASSERT_TRUE(path.startsWith(QLatin1String("/dev/"))) << path.toStdString();
  QSerialPort port;
  port.setPortName(path);
  ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
  QByteArray received;
  QElapsedTimer t;
  t.start();
  while (received.size() < recording.size() && t.elapsed() < 8000) {
    if (port.bytesAvailable() == 0) port.waitForReadyRead(100);
    received += port.readAll();
  }
  EXPECT_EQ(received, recording);
  // 20 seconds at 10x: not all at once.
  EXPECT_GE(t.elapsed(), 1000);
  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitCode(), 0);

  for (const char* bad : {"--speed=0.1", "--speed=101"}) {
    sim.start(QStringLiteral(HALVIX_SIM_PATH), {QStringLiteral("--replay=") + name, QLatin1String(bad)});
    ASSERT_TRUE(sim.waitForFinished(5000)) << bad;
    EXPECT_EQ(sim.exitCode(), 2) << bad;
  }
  sim.start(QStringLiteral(HALVIX_SIM_PATH), {QStringLiteral("--replay=") + dir.filePath(QStringLiteral("none.qlp"))});
  ASSERT_TRUE(sim.waitForFinished(5000));
  EXPECT_EQ(sim.exitCode(), 2);
  EXPECT_TRUE(sim.readAllStandardError().contains("cannot read"));
}

}  // namespace
