#include <gtest/gtest.h>

#include "app/poll_cycle.h"
#include "tests/support/scripted_device.h"

using namespace halvix;
using halvix::testing::Bytes;
using halvix::testing::ScriptedDevice;

namespace {

// Lamps and panels of the main window, reduced to what the cycle touches.
class FakeView final : public app::PollCycleView {
 public:
  bool txGreen = false, rxGreen = false, timing = false;
  int resets = 0, resetsWithSatellites = 0, blankings = 0, agings = 0;

  bool txLampGreen() const override { return txGreen; }
  void greyTxLamp() override { txGreen = false; }
  bool rxLampGreen() const override { return rxGreen; }
  void greyRxLamp() override { rxGreen = false; }
  bool pollTimingPackets() const override { return timing; }
  void displayReset(bool withSatellites) override {
    ++resets;
    if (withSatellites) ++resetsWithSatellites;
  }
  void timingPanelBlanking() override { ++blankings; }
  void ageSatelliteRows() override { ++agings; }
};

class PollCycleTest : public ::testing::Test {
 protected:
  link::VirtualClock clock{0};
  ScriptedDevice device{&clock};
  link::SerialLink link{device, clock};
  FakeView view;
  int timeCountdown = 0, timingCountdown = 0;
  int packets = 0;
  app::PollCycle cycle{link, view,
                       [this](link::SerialLink&) {
                         ++packets;
                         view.rxGreen = true;
                       },
                       timeCountdown, timingCountdown};

  void SetUp() override {
    ASSERT_EQ(link.OpenLink(QStringLiteral("x")), 0);
    QObject::connect(&link, &link::SerialLink::packetSent, [this] { view.txGreen = true; });
  }

  // Runs one tick and returns the frames it wrote, unframed (id and payload).
  std::vector<Bytes> tick() {
    const std::size_t before = device.writes().size();
    cycle.tick();
    clock.advance(app::PollCycle::kIntervalMs);
    std::vector<Bytes> out;
    for (std::size_t i = before; i < device.writes().size(); ++i) {
      const Bytes& f = device.writes()[i].bytes;
      out.emplace_back(f.begin() + 1, f.end() - 2);
    }
    return out;
  }
};

using Frames = std::vector<Bytes>;

}  // namespace

TEST_F(PollCycleTest, WireSequenceWithTimingPacketsNotPolled) {
  EXPECT_EQ(tick(), (Frames{{0x3C, 0x00}}));
  EXPECT_EQ(tick(), Frames{});
  EXPECT_EQ(tick(), (Frames{{0x1F, 0x00, 0x00}, {0x21}}));
  EXPECT_EQ(tick(), (Frames{{0x8E, 0x42}, {0x26}}));
  EXPECT_EQ(tick(), (Frames{{0x8E, 0x0B}}));
  EXPECT_EQ(tick(), (Frames{{0x24}}));
  EXPECT_EQ(tick(), (Frames{{0x3C, 0x00}}));
  EXPECT_EQ(cycle.startupCountdown, -1);
  for (int i = 0; i < 60; ++i) tick();
  EXPECT_EQ(cycle.startupCountdown, -1);
  // Frames never leave closer than 100 ms apart.
  for (std::size_t i = 1; i < device.writes().size(); ++i) {
    EXPECT_GE(device.writes()[i].atMs - device.writes()[i - 1].atMs, 100);
  }
}

TEST_F(PollCycleTest, WireSequenceWithTimingPacketsPolled) {
  view.timing = true;
  for (int i = 0; i < 6; ++i) tick();  // past the start-up queries
  EXPECT_EQ(tick(), (Frames{{0x3C, 0x00}}));
  EXPECT_EQ(tick(), Frames{});
  EXPECT_EQ(tick(), (Frames{{0x8E, 0xAB, 0x02}}));
  EXPECT_EQ(tick(), (Frames{{0x8E, 0xAB, 0x02}}));
  EXPECT_EQ(tick(), Frames{});
  EXPECT_EQ(tick(), (Frames{{0x24}}));
}

TEST_F(PollCycleTest, LampsGreyOnTheSecondTickAfterLighting) {
  for (int i = 0; i < 7; ++i) tick();
  device.queueRead({0x10, 0x41, 0x01, 0x10, 0x03});
  // Phase 2 sends nothing, so only the Rx lamp is lit in this tick.
  while (cycle.pollPhase != 1) tick();
  view.txGreen = false;
  tick();  // phase 2: packet received, lamp lit
  EXPECT_EQ(packets, 1);
  EXPECT_TRUE(view.rxGreen);
  tick();  // next tick notes the lamp lit
  EXPECT_TRUE(view.rxGreen);
  tick();  // and the one after greys it
  EXPECT_FALSE(view.rxGreen);
}

TEST_F(PollCycleTest, WatchdogsBlankOncePerSilence) {
  timeCountdown = 5;
  timingCountdown = 5;
  for (int i = 0; i < 6 * 5; ++i) tick();
  EXPECT_EQ(view.agings, 5);
  EXPECT_EQ(view.resets, 1);
  EXPECT_EQ(view.resetsWithSatellites, 0);
  EXPECT_EQ(view.blankings, 2);  // time watchdog and timing watchdog, each once
  for (int i = 0; i < 6 * 20; ++i) tick();
  EXPECT_EQ(view.resets, 1);
  EXPECT_EQ(view.blankings, 2);
  // A report re-arms the watchdog: one more blanking after the next silence.
  timeCountdown = 5;
  for (int i = 0; i < 6 * 6; ++i) tick();
  EXPECT_EQ(view.resets, 2);

  // With timing packets polled the timing watchdog blanks nothing.
  view.timing = true;
  timeCountdown = 5;
  timingCountdown = 5;
  const int blankingsBefore = view.blankings;
  for (int i = 0; i < 6 * 6; ++i) tick();
  EXPECT_EQ(view.blankings, blankingsBefore);
}

TEST_F(PollCycleTest, NestedTickReturnsAtOnceAndKeepsTheOuterRead) {
  // A decoder that opens a modal box runs a nested tick inside the receive step.
  int nestedWrites = -1;
  app::PollCycle* self = &cycle;
  app::PollCycle nested{link, view,
                        [&](link::SerialLink&) {
                          ++packets;
                          const auto before = device.writes().size();
                          device.queueRead({0x10, 0x46, 0x10, 0x03});
                          self->tick();
                          nestedWrites = static_cast<int>(device.writes().size() - before);
                        },
                        timeCountdown, timingCountdown};
  self = &nested;
  device.queueRead({0x10, 0x41, 0x01, 0x10, 0x03, 0x10, 0x42, 0x02, 0x10, 0x03});
  nested.tick();
  EXPECT_EQ(nestedWrites, 0);
  EXPECT_EQ(packets, 2);  // both packets of the outer read were parsed
}
