// The PC clock transfer through the system-clock seam (always the fixed test
// clock here: the machine's own clock must never be set by a test), "Download
// Time To PC" with either time source, and the hidden developer commands.
#include <gtest/gtest.h>

#include <QAction>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "tests/reports/payload_writer.h"
#include "tests/support/scripted_device.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/session_rig.h"

using namespace halvix;
using namespace platform;
using namespace halvix::testing;

namespace {

TEST(PcClockTransfer, NoGpsTimeYetLeavesTheClockAlone) {
  ScriptedPrompts prompts;
  FixedPcClock clock;
  platform::SetPcClockFromGps(prompts, clock, 0.0, 14.0f);
  EXPECT_TRUE(clock.setRequests().empty());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("GPS time is not available yet."));
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Can't set time"));
  EXPECT_EQ(prompts.messages[0].buttons, platform::PromptButtons::Ok);
}

TEST(PcClockTransfer, SetsUtcAndReportsTheOutcome) {
  ScriptedPrompts prompts;
  FixedPcClock clock;
  platform::SetPcClockFromGps(prompts, clock, 1'000'000'000.0, 14.0f);
  ASSERT_EQ(clock.setRequests().size(), 1u);
  EXPECT_EQ(clock.setRequests()[0], (UtcDateTime{2011, 9, 14, 1, 46, 26}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Success"));
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("PC time was set."));

  // Past the old year table and past 2100 (not a leap year).
  const double mar1st2101 = platform::PcClockAsGpsSeconds(UtcDateTime{2101, 3, 1, 0, 0, 18});
  platform::SetPcClockFromGps(prompts, clock, mar1st2101, 18.0f);
  EXPECT_EQ(clock.setRequests().back(), (UtcDateTime{2101, 3, 1, 0, 0, 0}));
  EXPECT_EQ(platform::GpsSecondsToUtc(clock, mar1st2101 - 19.0), 0);
  EXPECT_EQ(clock.setRequests().back(), (UtcDateTime{2101, 2, 28, 23, 59, 59}));

  // The system refuses: the clock is unchanged and the failure is told.
  clock.acceptSet(false);
  const UtcDateTime before = clock.nowUtc();
  platform::SetPcClockFromGps(prompts, clock, 1'000'000'000.0, 14.0f);
  EXPECT_EQ(clock.nowUtc(), before);
  EXPECT_EQ(prompts.messages.back().title, QStringLiteral("Time set failure."));
  EXPECT_EQ(prompts.messages.back().text, QStringLiteral("Can't set time"));

  // A time before the epoch cannot be set at all.
  clock.acceptSet(true);
  const std::size_t asked = clock.setRequests().size();
  EXPECT_NE(platform::GpsSecondsToUtc(clock, -5.0), 0);
  EXPECT_EQ(clock.setRequests().size(), asked);
}

TEST(PcClockTransfer, ReadsThePcClockAsGpsSeconds) {
  EXPECT_EQ(platform::PcClockAsGpsSeconds(FixedPcClock(UtcDateTime{1980, 1, 6, 0, 0, 0})), 0.0);
  EXPECT_EQ(platform::PcClockAsGpsSeconds(FixedPcClock(UtcDateTime{2000, 1, 1, 0, 0, 0})), 630'720'000.0);
  // Days before March + day + 28 common years - 6 + the eight 29 Februaries
  // from 1980 to 2008.
  const double mar2008 = platform::PcClockAsGpsSeconds(FixedPcClock(UtcDateTime{2008, 3, 1, 0, 0, 0}));
  EXPECT_EQ(mar2008, (59.0 + 1 + 28 * 365 - 6 + 8) * 86400.0);
}

class TimeToPcTest : public ::testing::Test, protected halvix::testing::SessionRig {
 protected:
  ScriptedPrompts prompts;
  FixedPcClock pcClock{UtcDateTime{2020, 1, 1, 0, 0, 0}};
  std::unique_ptr<app::AppContext> context;
  std::unique_ptr<app::Windows> windows;

  void make(bool developer, bool withClock = true) {
    windows.reset();
    context.reset(new app::AppContext{app::PortChoiceForCom(3), developer, clock, link, prompts});
    if (withClock) context->pcClock = &pcClock;
    ASSERT_EQ(link.OpenLink(QStringLiteral("COM3")), 0);
    windows = app::CreateWindows(*context, session);
    ASSERT_NE(windows, nullptr);
    device.clearWrites();
  }
  void SetUp() override { make(false); }

  app::TForm_Main& main() { return *windows->main; }
  std::vector<Bytes> sent() {
    std::vector<Bytes> out;
    for (const auto& w : device.writes()) out.emplace_back(w.bytes.begin() + 1, w.bytes.end() - 2);
    device.clearWrites();
    return out;
  }
  void gpsTime(float tow, std::uint16_t week, float offset) {
    PayloadWriter p(10);
    p.single(0, tow).word(4, week).single(6, offset);
    main().dispatcher().dispatch(0x41, p.data(), p.length());
  }
  void primaryTiming(std::uint32_t tow, std::uint16_t week, std::int16_t offset) {
    PayloadWriter p(17);
    p.byte(0, 0xAB).longWord(1, tow).word(5, week).word(7, static_cast<std::uint16_t>(offset));
    main().dispatcher().dispatch(0x8F, p.data(), p.length());
  }
};

TEST_F(TimeToPcTest, TimeReportAnswersTheRequestOnce) {
  main().menu.ControlTimeToPC->trigger();
  EXPECT_EQ(main().menu.ControlTimeToPC->text(), QStringLiteral("Down&load Time To PC"));
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x21}}));
  EXPECT_TRUE(context->display.timeToPcPending);

  // 1,000,000,000 s = week 1653, 265600 s; the offset goes in truncated.
  gpsTime(265600.0f, 1653, 14.9f);
  EXPECT_FALSE(context->display.timeToPcPending);
  ASSERT_EQ(pcClock.setRequests().size(), 1u);
  EXPECT_EQ(pcClock.setRequests()[0], (UtcDateTime{2011, 9, 14, 1, 46, 26}));
  EXPECT_EQ(prompts.messages.back().text, QStringLiteral("PC time was set."));

  gpsTime(313601.0f, 1653, 14.0f);
  EXPECT_EQ(pcClock.setRequests().size(), 1u) << "one request, one setting";
}

TEST_F(TimeToPcTest, NoTimeYetGivesTheNotAvailableBox) {
  main().ControlTimeToPCClick();
  gpsTime(0.0f, 0, 0.0f);
  EXPECT_TRUE(pcClock.setRequests().empty());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("GPS time is not available yet."));
  EXPECT_FALSE(context->display.timeToPcPending);
}

TEST_F(TimeToPcTest, WhilePolledTheAnswerIsIgnoredAndThePrimaryTimingReportServes) {
  main().menu.ControlPollingTimingPkts->setChecked(true);
  main().ControlTimeToPCClick();
  gpsTime(313600.0f, 1653, 14.0f);
  EXPECT_TRUE(context->display.timeToPcPending);
  EXPECT_TRUE(pcClock.setRequests().empty());

  primaryTiming(265600, 1653, 14);
  EXPECT_FALSE(context->display.timeToPcPending);
  ASSERT_EQ(pcClock.setRequests().size(), 1u);
  EXPECT_EQ(pcClock.setRequests()[0], (UtcDateTime{2011, 9, 14, 1, 46, 26}));
}

TEST_F(TimeToPcTest, WithoutAClockSeamTheTransferFailsSafely) {
  make(false, false);
  main().ControlTimeToPCClick();
  gpsTime(313600.0f, 1653, 14.0f);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Time set failure."));
}

TEST_F(TimeToPcTest, DeveloperCommands) {
  // Outside developer mode only "Packets On" acts.
  main().Control_SICode6Click();
  main().Control_SICode8Click();
  main().Control_SICode9Click();
  EXPECT_TRUE(sent().empty());
  main().Control_PacketsOnClick();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x8E, 0xA5, 0x32, 0xE1, 0x00, 0x00}}));

  make(true);
  main().Control_SICode6Click();
  main().Control_SICode8Click();
  main().Control_SICode9Click();
  main().Control_PacketsOnClick();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x8E, 0xAF, 0x06},
                                        {0x8E, 0xAF, 0x08},
                                        {0x8E, 0xAF, 0x09},
                                        {0x8E, 0xA5, 0x32, 0xE1, 0x00, 0x00}}));
  EXPECT_FALSE(main().menu.Control_SICode6->isVisible());
  EXPECT_EQ(main().menu.Control_SICode6->shortcut(), QKeySequence(Qt::Key_F6));
}

}  // namespace
