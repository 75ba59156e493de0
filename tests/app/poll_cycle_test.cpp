// The poll cycle as the main window runs it on its receiver session: the
// queries on the wire tick by tick, the Tx/Rx lamps, the report watchdogs
// and a tick that falls inside a read.
#include <gtest/gtest.h>

#include <QAction>

#include "tests/support/window_fixture.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"

using namespace halvix;
using halvix::testing::Bytes;
using session::ReceiverSession;

namespace {

using Frames = std::vector<Bytes>;

class PollCycleTest : public halvix::testing::WindowFixture, private session::SessionObserver {
 protected:
  int ticks = 0;

  void SetUp() override {
    make(false, true);
    main().menu.ControlPollingTimingPkts->setChecked(false);
    session.addObserver(this);
    // Up to the start of polling, before its first tick.
    for (int i = 0; i < 2000 && session.state() != session::SessionState::Polling; ++i) {
      scheduler.advance(10);
    }
    ASSERT_EQ(session.state(), session::SessionState::Polling);
    device.clearWrites();
  }
  void TearDown() override {
    session.removeObserver(this);
    WindowFixture::TearDown();
  }

  // Runs up to and through the next tick; the frames it wrote, unframed.
  Frames tick() {
    const std::size_t before = device.writes().size();
    const int was = ticks;
    for (int i = 0; i < 40 && ticks == was; ++i) scheduler.advance(10);
    // A tick's second query leaves 100 ms after its first.
    scheduler.advance(150);
    Frames out;
    for (std::size_t i = before; i < device.writes().size(); ++i) {
      out.push_back(halvix::testing::Unframed(device.writes()[i].bytes));
    }
    return out;
  }
  bool live(widgets::ValuePanel* p) const { return p->isLive(); }

 private:
  void pollTickStarted(ReceiverSession&) override { ++ticks; }
};

}  // namespace

TEST_F(PollCycleTest, WireSequenceWithAndWithoutTheTimingPackets) {
  EXPECT_EQ(tick(), (Frames{{0x3C, 0x00}}));
  EXPECT_EQ(tick(), Frames{});
  EXPECT_EQ(tick(), (Frames{{0x1F, 0x00, 0x00}, {0x21}}));
  EXPECT_EQ(tick(), (Frames{{0x8E, 0x42}, {0x26}}));
  EXPECT_EQ(tick(), (Frames{{0x8E, 0x0B}}));
  EXPECT_EQ(tick(), (Frames{{0x24}}));
  EXPECT_EQ(tick(), (Frames{{0x3C, 0x00}}));
  // The start-up queries come once.
  for (int i = 0; i < 60; ++i) {
    for (const Bytes& f : tick()) EXPECT_NE(f.front(), 0x1F);
  }
  // Frames never leave closer than 100 ms apart.
  for (std::size_t i = 1; i < device.writes().size(); ++i) {
    EXPECT_GE(device.writes()[i].atMs - device.writes()[i - 1].atMs, 100);
  }

  // "Poll Timing Packets" takes effect at the next tick.
  main().menu.ControlPollingTimingPkts->setChecked(true);
  while (session.pollPhase() != 0) tick();
  EXPECT_EQ(tick(), (Frames{{0x3C, 0x00}}));
  EXPECT_EQ(tick(), Frames{});
  EXPECT_EQ(tick(), (Frames{{0x8E, 0xAB, 0x02}}));
  EXPECT_EQ(tick(), (Frames{{0x8E, 0xAB, 0x02}}));
  EXPECT_EQ(tick(), Frames{});
  EXPECT_EQ(tick(), (Frames{{0x24}}));
}

TEST_F(PollCycleTest, LampsGreyOnTheSecondTickAfterLighting) {
  widgets::Lamp* rx = main().testControls().Shape_RxLED;
  const QColor lit = QColor::fromRgb(widgets::kLampLit);
  for (int i = 0; i < 7; ++i) tick();
  // Phase 2 sends nothing, so only the Rx lamp is lit in that tick.
  while (session.pollPhase() != 1) tick();
  device.queueRead({0x10, 0x41, 0x01, 0x10, 0x03});
  tick();  // phase 2: the packet is read, the lamp lit
  EXPECT_EQ(rx->color(), lit);
  tick();  // the next tick notes the lamp lit
  EXPECT_EQ(rx->color(), lit);
  tick();  // and the one after greys it
  EXPECT_NE(rx->color(), lit);
  // The Tx lamp is lit by every query and greyed the same way.
  EXPECT_EQ(main().testControls().Shape_TxLED->color(), lit);
}

TEST_F(PollCycleTest, WatchdogsBlankOncePerSilence) {
  auto& c = main().testControls();
  auto& d = context->display;
  int agings = 0;
  main().hooks.ageSatelliteRows = [&] { ++agings; };
  const auto fill = [&] {
    c.Panel_Time->setLiveValue(QStringLiteral("x"));
    c.Panel_PPSOffset->setLiveValue(QStringLiteral("y"));
  };
  fill();
  d.timeReportCountdown = 5;
  d.timingReportCountdown = 5;
  for (int i = 0; i < 6 * 5; ++i) tick();
  EXPECT_EQ(agings, 5);
  EXPECT_TRUE(c.Panel_Time->text().isEmpty());
  // Without timing packets polled their panels are greyed as well.
  EXPECT_TRUE(c.Panel_PPSOffset->isGreyed());
  fill();
  for (int i = 0; i < 6 * 20; ++i) tick();
  EXPECT_EQ(c.Panel_Time->text(), QStringLiteral("x"));
  EXPECT_TRUE(live(c.Panel_PPSOffset));
  // A report re-arms the watchdog: one more blanking after the next silence.
  d.timeReportCountdown = 5;
  for (int i = 0; i < 6 * 6; ++i) tick();
  EXPECT_TRUE(c.Panel_Time->text().isEmpty());

  // With timing packets polled the timing panels are blanked, never greyed.
  main().menu.ControlPollingTimingPkts->setChecked(true);
  fill();
  d.timeReportCountdown = 5;
  d.timingReportCountdown = 5;
  for (int i = 0; i < 6 * 6; ++i) tick();
  EXPECT_TRUE(c.Panel_Time->text().isEmpty());
  EXPECT_TRUE(live(c.Panel_PPSOffset));
}

TEST_F(PollCycleTest, ATickInsideAReadIsSkippedAndTheOuterReadKept) {
  for (int i = 0; i < 8; ++i) tick();
  // A decoder that opens a modal box: the session's steps run inside the read.
  int decoded = 0;
  int nestedWrites = -1;
  int nestedTicks = -1;
  main().dispatcher().setDecoder("41", [&](const std::uint8_t*, int) {
    ++decoded;
    const auto before = device.writes().size();
    const int ticksBefore = ticks;
    device.queueRead({0x10, 0x6D, 0x07, 0x10, 0x03});
    scheduler.advance(400);
    nestedWrites = static_cast<int>(device.writes().size() - before);
    nestedTicks = ticks - ticksBefore;
  });
  main().dispatcher().setDecoder("46", [&](const std::uint8_t*, int) { ++decoded; });
  device.queueRead({0x10, 0x41, 0x01, 0x10, 0x03, 0x10, 0x46, 0x02, 0x10, 0x03});
  tick();
  EXPECT_EQ(nestedWrites, 0);
  EXPECT_EQ(nestedTicks, 0);
  EXPECT_EQ(decoded, 2);  // both packets of the outer read were parsed
  // The cycle goes on afterwards.
  EXPECT_FALSE(tick().empty() && tick().empty());
}
