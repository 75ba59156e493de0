#include <gtest/gtest.h>

#include "link/break_sequence.h"
#include "tests/support/scripted_link.h"

using namespace halvix::link;
using halvix::testing::Bytes;
using halvix::testing::ScriptedDevice;

namespace {

class BreakSequenceTest : public ::testing::Test, protected halvix::testing::ScriptedLink<> {
 protected:
  std::vector<QString> events;
  std::vector<PortSettings> sentSettings;
  std::vector<PortSettings> appliedSettings;
  bool breakTimerOn = true;
  bool linkTimerOn = false;
  std::unique_ptr<BreakSequence> seq;

  void SetUp() override {
    ASSERT_EQ(link.OpenLink(QStringLiteral("x")), 0);
    BreakSequence::Hooks h;
    h.showSplash = [this] { events.push_back(QStringLiteral("splash")); };
    h.closeSplash = [this] { events.push_back(QStringLiteral("close splash")); };
    h.busyCursor = [this](bool busy) { events.push_back(busy ? QStringLiteral("busy") : QStringLiteral("normal")); };
    h.stopBreakTimer = [this] { breakTimerOn = false; };
    h.startLinkTimer = [this] { linkTimerOn = true; };
    h.sendVersionRequest = [this] { events.push_back(QStringLiteral("1F")); };
    h.sendSetSerialPort = [this](const PortSettings& s) {
      sentSettings.push_back(s);
      events.push_back(QStringLiteral("BC"));
    };
    h.applyPortSettings = [this](const PortSettings& s) { appliedSettings.push_back(s); };
    seq = std::make_unique<BreakSequence>(link, h);
  }

  // Runs ticks while the break timer is on, at most n; returns the count run.
  int run(int n, std::function<void(int)> beforeTick = {}) {
    int ticks = 0;
    while (breakTimerOn && ticks < n) {
      if (beforeTick) beforeTick(seq->breakCountdown);
      seq->tick();
      clock.advance(200);
      ++ticks;
    }
    return ticks;
  }
};

}  // namespace

TEST_F(BreakSequenceTest, StartupWithoutALineAppliesReceiverDefaults) {
  seq->start(true);
  const int ticks = run(50);
  EXPECT_EQ(ticks, 13);
  EXPECT_EQ(device.breakEvents(), (std::vector<bool>{true, false}));
  ASSERT_EQ(sentSettings.size(), 1u);
  EXPECT_EQ(sentSettings[0], (PortSettings{0xFF, 7, 3, 1, 0, 2, 2}));
  ASSERT_EQ(appliedSettings.size(), 1u);
  EXPECT_EQ(appliedSettings[0], sentSettings[0]);
  EXPECT_TRUE(linkTimerOn);
  EXPECT_FALSE(seq->startupBreak);
  // Version query one tick after BREAK is released, splash shown on each tick until the end.
  EXPECT_EQ(std::count(events.begin(), events.end(), QStringLiteral("1F")), 1);
  EXPECT_EQ(events.front(), QStringLiteral("splash"));
  EXPECT_EQ(events.back(), QStringLiteral("close splash"));
}

TEST_F(BreakSequenceTest, ParsedLineSetsBothSidesAndDataBitsAlwaysEight) {
  seq->start(true);
  const QByteArray line = "junk PRTS;x,1,y,19200,8,1,N,z\r\n";
  run(50, [&](int count) {
    if (count == 6) device.queueRead(Bytes(line.begin(), line.end()));
  });
  ASSERT_EQ(sentSettings.size(), 1u);
  EXPECT_EQ(sentSettings[0], (PortSettings{0xFF, 8, 3, 0, 0, 2, 2}));
  EXPECT_EQ(appliedSettings.back(), sentSettings[0]);
  EXPECT_TRUE(seq->portSettingsLine.startsWith("PRTS;"));

  PortSettings s{};
  EXPECT_TRUE(ParsePortSettingsLine("PR;a,0,b,9600,7,2,E,", s));
  EXPECT_EQ(s.dataBitsCode, 2);
  EXPECT_EQ(s.stopBitsCode, 1);
  EXPECT_EQ(s.parityCode, 2);
  seq->breakSettings = s;
  seq->ApplyBreakSettings();
  EXPECT_EQ(sentSettings.back(), (PortSettings{0xFF, 7, 3, 2, 1, 2, 2}));
}

TEST_F(BreakSequenceTest, UnparsableBaudFallsBackToDefaults) {
  PortSettings s{};
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,1,y,57600,8,1,N,z", s));
  EXPECT_EQ(s.dataBitsCode, 0);
  seq->start(true);
  const QByteArray line = "PR;x,1,y,57600,8,1,N,z";
  run(50, [&](int count) {
    if (count == 10) device.queueRead(Bytes(line.begin(), line.end()));
  });
  ASSERT_FALSE(sentSettings.empty());
  EXPECT_EQ(sentSettings.back(), (PortSettings{0xFF, 7, 3, 1, 0, 2, 2}));
  // A line found while BREAK is still held does not leave the line in BREAK.
  EXPECT_EQ(device.breakEvents().back(), false);
}

TEST_F(BreakSequenceTest, ParserStopsAtTheFirstBadFieldKeepingEarlierOnes) {
  PortSettings s{0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(ParsePortSettingsLine("PR no semicolon", s));
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,2,y,9600,8,1,N,", s));  // field 2 must be 0 or 1
  EXPECT_EQ(s.baudCode, 0);
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,1,y,4800,8,3,N,", s));  // stop bits 3
  EXPECT_EQ(s.baudCode, 6);
  EXPECT_EQ(s.dataBitsCode, 3);
  EXPECT_EQ(s.stopBitsCode, 0);
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,1,y,38400,7,2,O", s));  // parity field needs a comma after it
  EXPECT_EQ(s.baudCode, 9);
  EXPECT_EQ(s.parityCode, 0);
  EXPECT_TRUE(ParsePortSettingsLine("PR;x,1,y,38400,7,2,O,", s));
  EXPECT_EQ(s.parityCode, 1);
}

TEST_F(BreakSequenceTest, SendBreakSequenceEndsAtEightWithBreakReleased) {
  seq->start(false);
  const int ticks = run(50);
  EXPECT_EQ(ticks, 5);
  EXPECT_EQ(seq->breakCountdown, 7);
  EXPECT_EQ(device.breakEvents(), (std::vector<bool>{true, false}));
  EXPECT_TRUE(sentSettings.empty());
  EXPECT_EQ(std::count(events.begin(), events.end(), QStringLiteral("splash")), 0);
  EXPECT_EQ(events.back(), QStringLiteral("normal"));
}

TEST_F(BreakSequenceTest, PartialPrAtTheEndOfAReadIsNotReadPast) {
  seq->start(true);
  run(50, [&](int count) {
    if (count == 5) device.queueRead({'x', 'P'});
  });
  EXPECT_TRUE(seq->portSettingsLine.isEmpty());
  EXPECT_EQ(sentSettings.back(), (PortSettings{0xFF, 7, 3, 1, 0, 2, 2}));
}
