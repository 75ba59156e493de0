// Halvix as a real program on a pseudo-terminal: what it writes from start-up
// on, and a clean exit when asked to close.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <vector>

#include "tests/process/pseudo_terminal.h"

using halvix::testing::PseudoTerminal;

namespace {

using Frame = QByteArray;

// Splits the captured bytes into unstuffed frames (id and payload).
std::vector<Frame> Frames(const QByteArray& wire) {
  std::vector<Frame> frames;
  Frame current;
  bool inFrame = false, dle = false;
  for (const char ch : wire) {
    const auto b = static_cast<unsigned char>(ch);
    if (dle) {
      dle = false;
      if (b == 0x10) {
        current.append('\x10');
      } else if (b == 0x03) {
        if (inFrame) frames.push_back(current);
        inFrame = false;
        current.clear();
      } else {
        inFrame = true;
        current = Frame(1, static_cast<char>(b));
      }
      continue;
    }
    if (b == 0x10) dle = true;
    else if (inFrame) current.append(static_cast<char>(b));
  }
  return frames;
}

Frame F(std::initializer_list<int> bytes) {
  Frame f;
  for (int b : bytes) f.append(static_cast<char>(b));
  return f;
}

}  // namespace

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
