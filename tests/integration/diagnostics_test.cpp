// The reset test in the Diagnostics window against the simulated receiver,
// on virtual time: reset pacing, silence, the test lengths, App Fatal events
// (the receiver's fatal fault), the steps after a reset and the segment check
// on its worker thread.
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/main_window.h"
#include "app/windows.h"
#include "link/field_codec.h"
#include "link/report_dispatcher.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "tests/integration/tool_harness.h"
#include "tools/diagnostics_window.h"

using namespace halvix;
using halvix::testing::ToolHarness;
using Diag = halvix::tools::TForm_Diagnostics;

namespace {

class DiagnosticsTest : public ::testing::Test {
 protected:
  ToolHarness h;
  QStringList messages;
  int shown = 0;

  void start(std::initializer_list<const char*> faults = {}, double speed = 1.0) {
    sim::SimOptions o;
    o.restartSilenceMs = 1000;
    o.speed = speed;
    for (const char* f : faults) {
      QString error;
      ASSERT_TRUE(sim::ParseFault(QString::fromLatin1(f), o.faults, &error)) << error.toStdString();
    }
    ASSERT_TRUE(h.start(o, {QStringLiteral("-d")}));
    h.diagnosticsTimer = true;
    d().setMessageSink({[this](const QString& t) { messages << t; }, [this] { ++shown; }});
    link::ReportDispatcher& disp = h.main().dispatcher();
    // Stand-in for the report 0x5F diagnostic decoder.
    for (const char* key : {"5F-FF", "5F-FE"}) {
      disp.setDecoder(key, [this](const std::uint8_t* p, int n) {
        if (n > 0 && p[0] == 0xFF) d().AppFatalError();
        if (n > 0 && p[0] == 0xFE) d().AppFatalException();
      });
    }
    h.runSeconds(3);
  }
  // Read-back decoders for the six configuration reports, as small as the
  // segment check needs them.
  void readBackDecoders() {
    link::ReportDispatcher& disp = h.main().dispatcher();
    reports::ReadBackFields& rb = readBack();
    disp.setDecoder("4A-ALT", [&rb](const std::uint8_t* p, int) {
      rb.refAltitude = static_cast<float>(link::GetSingle(p));
    });
    disp.setDecoder("8F-15", [&rb](const std::uint8_t* p, int n) {
      if (n >= 3) rb.datumIndex = static_cast<std::int16_t>(link::GetWord(p + 1));
    });
    disp.setDecoder("BC", [&rb](const std::uint8_t* p, int n) {
      if (n < 5) return;
      (p[0] == 1 ? rb.portBParity : rb.portAParity) = p[4];
    });
    disp.setDecoder("8F-4E", [&rb](const std::uint8_t* p, int n) {
      if (n >= 2) rb.ppsOutputMode = p[1];
    });
    disp.setDecoder("8F-A9", [&rb](const std::uint8_t* p, int n) {
      if (n >= 7) rb.surveyLength = static_cast<std::int32_t>(link::GetLong(p + 3));
    });
    disp.setDecoder("7B", [&rb](const std::uint8_t* p, int n) {
      if (n >= 2) rb.nmeaInterval = p[1];
    });
  }
  reports::ReadBackFields& readBack() { return h.program().mainWindow()->context().readBack; }

  Diag& d() { return *h.windows().diagnostics; }
  Diag::Controls& c() { return d().testControls(); }
  void choose(QButtonGroup* group, int item) { group->button(item)->click(); }

  // Times of the resets Halvix sent (cold, factory, warm).
  std::vector<std::int64_t> resets() const {
    std::vector<std::int64_t> at;
    for (const auto& f : h.frames()) {
      if (!f.bytes.empty() && (f.bytes[0] == 0x1E || f.bytes[0] == 0x25)) at.push_back(f.atMs);
    }
    return at;
  }
  int questions() const {
    int n = 0;
    for (const auto& m : h.prompts.messages) n += m.title == QStringLiteral("Check Segments?");
    return n;
  }
  QString results() const { return messages.join(QString()); }
};

TEST_F(DiagnosticsTest, DefaultsResetAtOnceThenEveryFiveSecondsUntilStop) {
  start();
  EXPECT_EQ(c().lengthItems->checkedId(), Diag::kManualStop);
  EXPECT_EQ(c().intervalItems->checkedId(), Diag::kTimedInterval);
  EXPECT_EQ(c().resetTypeItems->checkedId(), Diag::kRandom);
  EXPECT_FALSE(c().Button_AppFatalStop->isEnabled());
  const std::vector<unsigned> draws{2, 1, 8, 5};  // factory (all), warm, factory (nav), cold
  std::size_t next = 0;
  d().setRandom([&] { return draws[next++ % draws.size()]; });

  c().Button_AppFatalStart->click();
  EXPECT_TRUE(c().Shape_AppFatalLED->is(widgets::kLampLit));
  EXPECT_FALSE(c().Button_AppFatalStart->isEnabled());
  EXPECT_FALSE(c().Edit_Interval->isEnabled());
  ASSERT_EQ(resets().size(), 1u);
  h.runSeconds(16);
  const auto at = resets();
  ASSERT_EQ(at.size(), 4u);
  // Five seconds of ticks, plus the send pauses that virtual time counts as well.
  for (std::size_t i = 1; i < at.size(); ++i) {
    EXPECT_GE(at[i] - at[i - 1], 5000) << i;
    EXPECT_LT(at[i] - at[i - 1], 5400) << i;
  }
  EXPECT_EQ(h.countFrames({0x1E, 0x46}), 1);
  EXPECT_EQ(h.countFrames({0x25}), 1);
  EXPECT_EQ(h.countFrames({0x1E, 0x4E}), 1);
  EXPECT_EQ(h.countFrames({0x1E, 0x4B}), 1);
  EXPECT_EQ(c().Panel_NumResets->text(), QStringLiteral("4"));
  EXPECT_EQ(c().Panel_CurrentReset->text(), QStringLiteral("Cold Reset"));

  c().Button_AppFatalStop->click();
  EXPECT_FALSE(d().testRunning);
  EXPECT_TRUE(c().Shape_AppFatalLED->is(widgets::kLampIdle));
  EXPECT_TRUE(c().Button_AppFatalStart->isEnabled());
  EXPECT_EQ(results(), QStringLiteral("---------------------------------------\r\nTEST RESULTS:\r\n"
                                      "Num Resets: 4\r\nDuration:   0:00:16\r\nErrors:     0\r\n"
                                      "Exceptions: 0\r\nLast Reset: Cold Reset\r\n"));
  EXPECT_EQ(shown, 1);
}

class SilentReceiverTest : public DiagnosticsTest, public ::testing::WithParamInterface<bool> {};

// Silent for the second before a reset boundary: the test stops there; with
// CheckBox_EEPROM it asks about the segment check first (answered No here).
TEST_P(SilentReceiverTest, StopsAtTheResetBoundary) {
  const bool eeprom = GetParam();
  start();
  choose(c().resetTypeItems, Diag::kWarm);
  c().CheckBox_EEPROM->setChecked(eeprom);
  h.prompts.answers.push_back(platform::PromptAnswer::No);
  c().Button_AppFatalStart->click();
  h.runSeconds(3.2);
  h.setConnected(false);
  h.runSeconds(6);
  EXPECT_FALSE(d().testRunning);
  EXPECT_EQ(resets().size(), 1u) << "no reset after the silence";
  EXPECT_EQ(questions(), eeprom ? 1 : 0);
  EXPECT_EQ(h.countFrames({0x2A}), 0) << "no segment check";
  EXPECT_TRUE(results().contains(QStringLiteral("Num Resets: 1\r\nDuration:   0:00:05\r\n")));
  EXPECT_EQ(shown, 1);
}
INSTANTIATE_TEST_SUITE_P(Eeprom, SilentReceiverTest, ::testing::Bool());

TEST_F(DiagnosticsTest, TimedLengthTenWithIntervalFive) {
  start();
  choose(c().lengthItems, Diag::kTimedLength);
  c().Edit_Length->setText(QStringLiteral("10"));
  choose(c().resetTypeItems, Diag::kCold);
  c().Button_AppFatalStart->click();
  h.runSeconds(14);
  const auto at = resets();
  ASSERT_EQ(at.size(), 2u);
  EXPECT_GE(at[1] - at[0], 5000);
  EXPECT_LT(at[1] - at[0], 5400);
  EXPECT_FALSE(d().testRunning);
  EXPECT_EQ(d().elapsedSeconds, 10);
  EXPECT_TRUE(results().contains(QStringLiteral("Num Resets: 2\r\nDuration:   0:00:10\r\n")));
}

class UntilAppFatalTest : public DiagnosticsTest,
                          public ::testing::WithParamInterface<const char*> {};

// The receiver reports a fatal error (or an exception) after its second reset.
TEST_P(UntilAppFatalTest, StopsOnTheFirstFatalReport) {
  const bool error = QString::fromLatin1(GetParam()).startsWith(QStringLiteral("fatal"));
  start({GetParam()});
  choose(c().lengthItems, Diag::kUntilAppFatal);
  choose(c().resetTypeItems, Diag::kWarm);
  c().Button_AppFatalStart->click();
  h.runSeconds(4);
  EXPECT_TRUE(d().testRunning) << "nothing after the first reset";
  h.runSeconds(5);
  EXPECT_FALSE(d().testRunning);
  EXPECT_EQ(resets().size(), 2u);
  EXPECT_EQ(c().Panel_Errors->text(), error ? QStringLiteral("1") : QStringLiteral("0"));
  EXPECT_EQ(c().Panel_Exceptions->text(), error ? QStringLiteral("0") : QStringLiteral("1"));
  EXPECT_TRUE(results().startsWith(QStringLiteral("Warm Reset\r\nReset #2\r\n-----")));
  EXPECT_TRUE(results().endsWith(error ? QStringLiteral("Errors:     1\r\nExceptions: 0\r\nLast Reset: Warm Reset\r\n")
                                       : QStringLiteral("Errors:     0\r\nExceptions: 1\r\nLast Reset: Warm Reset\r\n")));
  EXPECT_EQ(shown, 1);
}
INSTANTIATE_TEST_SUITE_P(Faults, UntilAppFatalTest, ::testing::Values("fatal-every=2", "exception-every=2"));

TEST_F(DiagnosticsTest, StepsAfterAResetRunTwoSecondsLaterAndNeverWithIntervalTwo) {
  const struct {
    const char* interval;
    bool steps;
  } cases[] = {{"5", true}, {"2", false}};
  start();
  for (const auto& k : cases) {
    SCOPED_TRACE(k.interval);
    const int masksBefore = h.countFrames({0x8E, 0xA5, 0xFF, 0xE1});
    const int savesBefore = h.countFrames({0x8E, 0x26});
    choose(c().resetTypeItems, Diag::kFactoryAll);
    c().CheckBox_Packets->setChecked(true);
    c().CheckBox_EEPROM->setChecked(true);
    c().Edit_Interval->setText(QString::fromLatin1(k.interval));
    d().setTestPort(1);
    c().Button_AppFatalStart->click();
    h.runSeconds(9);
    c().Button_AppFatalStop->click();
    EXPECT_EQ(h.countFrames({0x8E, 0xA5, 0xFF, 0xE1}) > masksBefore, k.steps);
    EXPECT_EQ(h.countFrames({0x8E, 0x26}) > savesBefore, k.steps);
    h.runSeconds(3);
  }
}

TEST_F(DiagnosticsTest, IntervalBelowOneIsRefusedOnStart) {
  start();
  for (const char* text : {"", "0", "-3", "x5"}) {
    SCOPED_TRACE(text);
    h.prompts.messages.clear();
    c().Edit_Interval->setText(QString::fromLatin1(text));
    c().Button_AppFatalStart->click();
    EXPECT_FALSE(d().testRunning);
    ASSERT_EQ(h.prompts.messages.size(), 1u);
    EXPECT_EQ(h.prompts.messages[0].title, QStringLiteral("Error"));
    h.runSeconds(2);
  }
  EXPECT_TRUE(resets().empty());
  // When Tracking does not use the interval.
  choose(c().intervalItems, Diag::kWhenTracking);
  c().Button_AppFatalStart->click();
  EXPECT_TRUE(d().testRunning);
}

TEST_F(DiagnosticsTest, SegmentCheckAfterTheReceiverFallsSilent) {
  // Direct commands stand in for what happened to the receiver while it was
  // off the line: a factory reset, or a revert that kept segment 8 (NMEA).
  const std::vector<std::uint8_t> factoryAll{0x10, 0x1E, 0x46, 0x10, 0x03};
  // Spelt out: GCC 12 at -O3 misreads a range insert into a growing vector here.
  const std::vector<std::uint8_t> keepNmea{0x10, 0x8E, 0x45, 2, 0x10, 0x03, 0x10, 0x8E, 0x45, 3,
                                           0x10, 0x03, 0x10, 0x8E, 0x45, 4, 0x10, 0x03, 0x10, 0x8E,
                                           0x45, 5, 0x10, 0x03, 0x10, 0x8E, 0x45, 7, 0x10, 0x03};
  const struct {
    const char* name;
    std::vector<std::uint8_t> meanwhile;
    QString text;
  } cases[] = {
      {"factory reset", factoryAll, QStringLiteral("All segments returned to default:\r\n")},
      {"one segment kept", keepNmea,
       QStringLiteral("Some segments not returned to default:\r\n"
                      " NMEA Configuration:      Output Interval = 10\r\n")},
  };
  start();
  readBackDecoders();
  d().setTestPort(1);  // port A keeps the PC's line
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    messages.clear();
    choose(c().resetTypeItems, Diag::kFactoryAll);
    c().CheckBox_EEPROM->setChecked(true);
    c().Button_AppFatalStart->click();
    h.runSeconds(3.4);  // the test values are written and saved at 2 s
    ASSERT_GE(h.countFrames({0x8E, 0x26}), 1);
    h.setConnected(false);
    h.prompts.answers.push_back(platform::PromptAnswer::Yes);
    for (int i = 0; i < 60 && d().testRunning; ++i) h.tick();  // the next reset boundary
    ASSERT_FALSE(d().testRunning);
    ASSERT_EQ(questions(), 1);
    EXPECT_TRUE(d().segmentCheckRunning());
    h.sendToReceiver(k.meanwhile);
    h.setConnected(true);
    messages.clear();
    h.tickWhile([this] { return messages.isEmpty(); }, 400);
    EXPECT_EQ(results(), k.text);
    h.tick();
    EXPECT_FALSE(d().segmentCheckRunning());
    h.prompts.messages.clear();
    h.runSeconds(2);
  }
}

TEST_F(DiagnosticsTest, SegmentCheckThatGetsNoAnswerGivesUp) {
  start();
  readBackDecoders();
  d().setTestPort(1);
  choose(c().resetTypeItems, Diag::kWarm);
  c().CheckBox_EEPROM->setChecked(true);
  c().Button_AppFatalStart->click();
  h.runSeconds(1);
  h.setConnected(false);
  h.runSeconds(5);
  ASSERT_EQ(questions(), 1);  // answered Yes
  h.tickWhile([this] { return d().segmentCheckRunning(); }, 2000);
  h.tick();
  EXPECT_FALSE(d().segmentCheckRunning());
  ASSERT_FALSE(h.prompts.messages.empty());
  EXPECT_EQ(h.prompts.messages.back().text, QStringLiteral("Couldn't retrieve segment settings."));
  // 25 rounds of queries, all unanswered: six each.
  EXPECT_EQ(h.countFrames({0x7A, 0x00}), 25);
}

}  // namespace

namespace {

// When Tracking: the supplemental timing report (polled only while "Poll
// Timing Packets" is checked) with satellites usable sends the next reset.
TEST_F(DiagnosticsTest, WhenTrackingResetsOnTheTimingReport) {
  start({}, 100);  // satellites found again within seconds
  const struct {
    bool pollTiming;
    bool more;
  } cases[] = {{false, false}, {true, true}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.pollTiming ? "timing packets polled" : "not polled");
    h.main().menu.ControlPollingTimingPkts->setChecked(k.pollTiming);
    choose(c().intervalItems, Diag::kWhenTracking);
    choose(c().resetTypeItems, Diag::kWarm);
    const std::size_t before = resets().size();
    c().Button_AppFatalStart->click();
    h.runSeconds(30);
    c().Button_AppFatalStop->click();
    const auto at = resets();
    EXPECT_EQ(at.size() - before > 1, k.more) << at.size() - before;
    // Each reset waits for the receiver to track again after the one before.
    for (std::size_t i = before + 1; i < at.size(); ++i) EXPECT_GE(at[i] - at[i - 1], 1000);
  }
}

}  // namespace
