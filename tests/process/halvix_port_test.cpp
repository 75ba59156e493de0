// Halvix as a real program on a pseudo-terminal: what it writes from start-up
// on, and a clean exit when asked to close; and the real port on a line whose
// far end hangs up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>
#include <memory>
#include <vector>

#include "link/qt_serial_device.h"
#include "link/serial_link.h"
#include "tests/process/halvix_run.h"
#include "tests/process/pseudo_terminal.h"
#include "tests/support/wire_frames.h"

using halvix::testing::HalvixRun;
using halvix::testing::PseudoTerminal;

namespace {

using Frame = QByteArray;

std::vector<Frame> Frames(const QByteArray& wire) { return halvix::testing::SplitFrames(wire); }

constexpr auto& F = halvix::testing::WireBytes;

// Collects what the port receives until a frame shows up, at most timeoutMs.
bool waitForFrame(PseudoTerminal& pty, const Frame& frame, int timeoutMs, QByteArray* wire = nullptr) {
  QByteArray got;
  QElapsedTimer t;
  t.start();
  bool seen = false;
  while (!seen && t.elapsed() < timeoutMs) {
    got += pty.read(100);
    const auto frames = Frames(got);
    seen = std::find(frames.begin(), frames.end(), frame) != frames.end();
  }
  if (wire != nullptr) *wire = got;
  return seen;
}

}  // namespace

TEST(HalvixProcess, APulledCableCostsNoCpuAndTheReturningDeviceIsNegotiatedAgain) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString link = dir.filePath(QStringLiteral("receiver"));
  auto first = std::make_unique<PseudoTerminal>();
  ASSERT_TRUE(first->ok());
  ASSERT_TRUE(QFile::link(first->slavePath(), link));

  HalvixRun halvix(link);
  ASSERT_TRUE(halvix.process.waitForStarted(10000));
  const Frame version = F({0x1F, 0x00, 0x00});
  ASSERT_TRUE(waitForFrame(*first, version, 10000)) << "the break sequence starts";

  // Let the break sequence finish and routine polling start.
  ASSERT_TRUE(waitForFrame(*first, F({0x24}), 15000)) << "routine polling";

  // The peer goes away for good: Halvix notices, closes the port and idles.
  first.reset();
  ASSERT_TRUE(halvix.waitForLog(QStringLiteral("disconnected"), 5000)) << "output: " << halvix.output().toStdString();
  const double before = halvix.cpuSeconds();
  QThread::sleep(5);
  const double spent = halvix.cpuSeconds() - before;
  EXPECT_LT(spent, 0.2) << "CPU seconds over 5 s without the device";
  std::fprintf(stderr, "CPU over 5 s without the device: %.2f s\n", spent);

  // A new receiver appears at the same path: BREAK and the version query again.
  PseudoTerminal second;
  ASSERT_TRUE(second.ok());
  ASSERT_TRUE(QFile::remove(link));
  ASSERT_TRUE(QFile::link(second.slavePath(), link));
  QElapsedTimer back;
  back.start();
  EXPECT_TRUE(waitForFrame(second, version, 10000)) << "the break sequence runs again";
  std::fprintf(stderr, "device back to the first frame: %lld ms\n", static_cast<long long>(back.elapsed()));
  EXPECT_TRUE(halvix.waitForLog(QStringLiteral("is back"), 5000));
}

TEST(HalvixProcess, AFloodAtFullSpeedKeepsMemoryFlatAndTheLineAlive) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  HalvixRun halvix(pty.slavePath());
  ASSERT_TRUE(halvix.process.waitForStarted(10000));
  ASSERT_TRUE(waitForFrame(pty, F({0x1F, 0x00, 0x00}), 10000));
  const double baseline = halvix.residentMb();

  // 10 MB of reports as fast as the pseudo-terminal takes them.
  QByteArray report = QByteArray::fromHex("10 41 47 c3 50 00 05 78 41 60 00 00 10 03");
  QByteArray block;
  while (block.size() < 64 * 1024) block += report;
  double peak = 0;
  for (qsizetype sent = 0; sent < 10 * 1024 * 1024; sent += block.size()) {
    ASSERT_TRUE(pty.write(block));
    pty.read(0);  // keep Halvix's own frames from backing up
    peak = std::max(peak, halvix.residentMb());
  }
  std::fprintf(stderr, "resident memory: %.1f MB before the flood, %.1f MB at its peak\n", baseline, peak);
  EXPECT_LT(peak - baseline, 30.0) << "the flood must not pile up in memory";
  EXPECT_LT(peak, 100.0 + baseline) << "far below the 1 GB of an unbounded buffer";

  // The line still works: the poll cycle goes on asking after the flood.
  EXPECT_TRUE(waitForFrame(pty, F({0x24}), 20000));
}

TEST(HalvixProcess, StartUpSequenceOnAPseudoTerminalAndCleanExit) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  QProcess halvix;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  halvix.setProcessEnvironment(env);
  halvix.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  halvix.start(QStringLiteral(HALVIX_PROGRAM), {QStringLiteral("--port=") + pty.slavePath()});
  ASSERT_TRUE(halvix.waitForStarted(10000));

  // Nothing goes out while BREAK is held (the first second); the first frame is
  // the version query one tick after BREAK is released.
  QByteArray wire;
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 700) wire += pty.read(50);
  EXPECT_TRUE(wire.isEmpty()) << wire.toHex(' ').constData();

  // Without a receiver: no settings line, so defaults after about 2.6 s plus the
  // 3.2 s settle, then the poll cycle. Collect until the first 0x24 of the cycle.
  const Frame sv = F({0x24});
  while (timer.elapsed() < 20000) {
    wire += pty.read(100);
    const auto frames = Frames(wire);
    if (std::count(frames.begin(), frames.end(), sv) >= 1) break;
  }
  const std::vector<Frame> expected = {
      F({0x1F, 0x00, 0x00}),                                          // break sequence
      F({0xBC, 0xFF, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x02, 0x02, 0x00}),  // 9600 8-Odd-1
      F({0x3C, 0x00}),                                                // tick 1
      F({0x1F, 0x00, 0x00}), F({0x21}),                               // tick 3
      F({0x8E, 0x42}), F({0x26}),                                     // tick 4
      F({0x8E, 0x0B}),                                                // tick 5
      F({0x24}),                                                      // tick 6
  };
  EXPECT_EQ(Frames(wire), expected) << wire.toHex(' ').constData();

  halvix.terminate();
  ASSERT_TRUE(halvix.waitForFinished(10000));
  EXPECT_EQ(halvix.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(halvix.exitCode(), 0);
}

namespace {

// The far end of the line closes (a simulator killed, a serial server gone):
// the real port reports the hang-up by itself while only the event loop runs,
// as inside a modal box where no poll tick reads, and the link closes it.
TEST(HangUpOnARealPort, IsReportedWithoutAPollAndClosesThePort) {
  auto pty = std::make_unique<PseudoTerminal>();
  ASSERT_TRUE(pty->ok());
  halvix::link::QtSerialDevice device;
  halvix::link::SystemClock clock;
  halvix::link::SerialLink link(device, clock);
  ASSERT_EQ(link.OpenLink(pty->slavePath()), 0);
  int lost = 0;
  QObject::connect(&link, &halvix::link::SerialLink::deviceLost, [&] { ++lost; });
  pty.reset();
  QElapsedTimer waited;
  waited.start();
  while (lost == 0 && waited.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_EQ(lost, 1);
  EXPECT_TRUE(link.lost());
  EXPECT_FALSE(device.isOpen());
}

}  // namespace
