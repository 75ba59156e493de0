// The reset test's logic without its window, on a scripted device and
// virtual time: when resets and the after-reset steps go out, what stops the
// test, the App Fatal counters, the texts it reports and the input rate.
#include "tools/diagnostics_reset_cycle.h"

#include <gtest/gtest.h>

#include "link/serial_link.h"
#include "tests/support/scripted_device.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using halvix::testing::Bytes;
using tools::ResetCycle;

namespace {

class ResetCycleTest : public ::testing::Test {
 protected:
  link::VirtualClock clock{0};
  halvix::testing::ScriptedDevice device{&clock};
  link::SerialLink link{device, clock};
  ResetCycle cycle{link};

  void SetUp() override { ASSERT_EQ(link.OpenLink(QStringLiteral("/dev/test")), 0); }

  // The ids (and sub-codes) of what went out since the last call.
  std::vector<Bytes> sent() {
    std::vector<Bytes> heads;
    for (const auto& w : device.writes()) {
      const Bytes p = halvix::testing::Unframed(w.bytes);
      heads.push_back(Bytes(p.begin(), p.begin() + std::min<std::size_t>(p.size(), 2)));
    }
    device.clearWrites();
    return heads;
  }
  // Seconds of a running test, the receiver talking through each when asked.
  ResetCycle::Tick run(int seconds, bool talking = true) {
    ResetCycle::Tick t = ResetCycle::Tick::Running;
    for (int i = 0; i < seconds && t == ResetCycle::Tick::Running; ++i) {
      if (talking) cycle.heartBeat();
      cycle.countSecond();
      t = cycle.step();
    }
    return t;
  }
};

const Bytes kCold{0x1E, 0x4B};
const Bytes kWarm{0x25};
const Bytes kFactoryAll{0x1E, 0x46};

TEST(ScanLong, ReadsAsTheTestsFieldsDo) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {{"5", 5},          {"  12abc", 12}, {"-3", -3}, {"+7", 7},
               {"", {}},          {"x5", {}},      {"-", {}},  {"2147483647", 2147483647},
               {"2147483648", {}}};
  for (const auto& k : cases)
    EXPECT_EQ(tools::ScanLong(QString::fromLatin1(k.text)), k.value) << k.text;
}

TEST_F(ResetCycleTest, TimedIntervalResetsOnItsBoundaryAndStepsTwoSecondsLater) {
  cycle.packetsAfterReset = true;
  ASSERT_TRUE(cycle.start({ResetCycle::kManualStop,
                           ResetCycle::kTimedInterval,
                           ResetCycle::kCold,
                           {},
                           QStringLiteral("5")}));
  EXPECT_EQ(sent(), std::vector<Bytes>{kCold});
  EXPECT_EQ(run(1), ResetCycle::Tick::Running);
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(run(1), ResetCycle::Tick::Running);
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x8E, 0xA5}, {0x35, 0x33}})) << "the steps at second 2";
  EXPECT_EQ(run(3), ResetCycle::Tick::Running);
  EXPECT_EQ(sent(), std::vector<Bytes>{kCold}) << "the next reset at second 5";
  EXPECT_EQ(cycle.resetCount, 2);
  EXPECT_EQ(cycle.durationText(), QStringLiteral("0:00:05"));
}

TEST_F(ResetCycleTest, WhatEndsATest) {
  const struct {
    const char* name;
    ResetCycle::Choices choices;
    int seconds;
    bool talking;
    ResetCycle::Tick end;
    int resets;
  } cases[] = {
      {"timed length",
       {ResetCycle::kTimedLength, ResetCycle::kTimedInterval, ResetCycle::kWarm,
        QStringLiteral("10"), QStringLiteral("5")},
       20,
       true,
       ResetCycle::Tick::Stopped,
       2},
      {"silent at the boundary",
       {ResetCycle::kManualStop,
        ResetCycle::kTimedInterval,
        ResetCycle::kWarm,
        {},
        QStringLiteral("3")},
       20,
       false,
       ResetCycle::Tick::FellSilent,
       1},
      {"when tracking never stops by itself",
       {ResetCycle::kManualStop,
        ResetCycle::kWhenTracking,
        ResetCycle::kWarm,
        {},
        QStringLiteral("x")},
       20,
       false,
       ResetCycle::Tick::Running,
       1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(cycle.start(k.choices));
    EXPECT_EQ(run(k.seconds, k.talking), k.end);
    EXPECT_EQ(cycle.running, k.end == ResetCycle::Tick::Running);
    EXPECT_EQ(cycle.resetCount, k.resets);
    cycle.stop();
  }
}

TEST_F(ResetCycleTest, AnIntervalBelowOneSecondStartsNothing) {
  for (const char* text : {"", "0", "-3", "x5"}) {
    EXPECT_FALSE(cycle.start({ResetCycle::kManualStop,
                              ResetCycle::kTimedInterval,
                              ResetCycle::kCold,
                              {},
                              QString::fromLatin1(text)}))
        << text;
  }
  EXPECT_FALSE(cycle.running);
  EXPECT_TRUE(sent().empty());
}

TEST_F(ResetCycleTest, AppFatalCountsStopsAndAsksForTheSegmentCheck) {
  ResetCycle::Fatal idle = cycle.appFatal(false);
  EXPECT_FALSE(idle.counted) << "nothing counts outside a test";

  cycle.modifySegments = true;
  ASSERT_TRUE(cycle.start(
      {ResetCycle::kUntilAppFatal, ResetCycle::kWhenTracking, ResetCycle::kFactoryAll, {}, {}}));
  EXPECT_EQ(sent(), std::vector<Bytes>{kFactoryAll});
  cycle.nextTrackingReset();
  EXPECT_EQ(cycle.fatalText(), (QStringList{QStringLiteral("Factory Reset (All)\r\n"),
                                            QStringLiteral("Reset #2\r\n")}));
  const ResetCycle::Fatal f = cycle.appFatal(true);
  EXPECT_TRUE(f.counted);
  EXPECT_TRUE(f.stopped);
  EXPECT_TRUE(f.checkSegments);
  EXPECT_EQ(cycle.exceptionCount, 1);
  EXPECT_EQ(cycle.errorCount, 0);
  EXPECT_EQ(cycle.resultsText().join(QString()),
            QStringLiteral("---------------------------------------\r\nTEST RESULTS:\r\n"
                           "Num Resets: 2\r\nDuration:   0:00:00\r\nErrors:     0\r\n"
                           "Exceptions: 1\r\nLast Reset: Factory Reset (All)\r\n"));

  // A manual-stop test counts on; a warm reset asks for no segment check.
  ASSERT_TRUE(
      cycle.start({ResetCycle::kManualStop, ResetCycle::kWhenTracking, ResetCycle::kWarm, {}, {}}));
  const ResetCycle::Fatal warm = cycle.appFatal(false);
  EXPECT_TRUE(warm.counted);
  EXPECT_FALSE(warm.stopped);
  EXPECT_FALSE(warm.checkSegments);
  EXPECT_TRUE(cycle.running);
  EXPECT_EQ(cycle.errorCount, 1);
}

TEST_F(ResetCycleTest, RandomResetsDrawModuloFive) {
  const std::vector<unsigned> draws{2, 1, 8, 5};
  std::size_t next = 0;
  cycle.setRandom([&] { return draws[next++]; });
  ASSERT_TRUE(cycle.start(
      {ResetCycle::kManualStop, ResetCycle::kWhenTracking, ResetCycle::kRandom, {}, {}}));
  for (int i = 0; i < 3; ++i) cycle.nextTrackingReset();
  EXPECT_EQ(sent(), (std::vector<Bytes>{kFactoryAll, kWarm, {0x1E, 0x4E}, kCold}));
}

TEST_F(ResetCycleTest, InputRateAveragesOverItsWindow) {
  tools::InputRate rate{link};
  link.bytesReceived = 300;
  EXPECT_EQ(rate.tick(), 300);
  EXPECT_EQ(rate.tick(), 150);
  rate.reset();
  EXPECT_EQ(link.bytesReceived.load(), 0u);
  link.bytesReceived = 50;
  EXPECT_EQ(rate.tick(), 50);
  for (int i = 1; i < tools::InputRate::kWindowSeconds; ++i) rate.tick();
  EXPECT_EQ(link.bytesReceived.load(), 0u) << "the window starts over after 1000 s";
}

}  // namespace
