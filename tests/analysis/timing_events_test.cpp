// The timing-event detector fed as a decoder feeds it: steps against the
// recent spread and the floor, alarms, mode and status, the self-survey and
// outages, with their kinds.
#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>
#include <vector>

#include "analysis/stability_table.h"
#include "analysis/timing_events.h"

using namespace halvix::analysis;

namespace {

struct Feed {
  TimingEventDetector detector;
  TimingInput state;
  std::vector<TimingEvent> events;
  std::mt19937_64 random{9};

  explicit Feed(TimingEventSettings s = {}) : detector(s) {}

  // n seconds of reports, the PPS offset with white noise of `noise` ns.
  void seconds(int n, double noise = 3.0) {
    std::normal_distribution<double> gauss(0.0, noise);
    for (int i = 0; i < n; ++i) {
      TimingInput in = state;
      in.ppsOffsetNs += gauss(random);
      feed(in);
      state.t += 1;
    }
  }
  void feed(const TimingInput& in) {
    for (TimingEvent& e : detector.add(in)) events.push_back(std::move(e));
  }
  std::vector<std::string> kinds() const {
    std::vector<std::string> out;
    for (const TimingEvent& e : events) out.emplace_back(e.kind);
    return out;
  }
};

using Kinds = std::vector<std::string>;

}  // namespace

TEST(TimingEvents, PpsStepsAgainstTheSpreadAndTheFloor) {
  struct Case {
    const char* name;
    double noise, step;
    std::size_t events;
  } cases[] = {
      {"a clear step on a quiet PPS", 3, 120, 1},
      {"below the floor on a quiet PPS", 3, 40, 0},
      {"a step lost in a noisy PPS", 25, 120, 0},
      {"a step beyond a noisy PPS's spread", 25, 400, 1},
      {"a step down counts the same", 3, -120, 1},
  };
  for (const Case& c : cases) {
    Feed run;
    run.seconds(100, c.noise);
    run.state.ppsOffsetNs += c.step;
    run.seconds(100, c.noise);
    EXPECT_EQ(run.events.size(), c.events) << c.name;
    if (c.events == 1) {
      EXPECT_EQ(run.events[0].kind, event_kind::kPpsStep);
      EXPECT_DOUBLE_EQ(run.events[0].t, 100);
      EXPECT_NEAR(run.events[0].value, c.step, 5 * c.noise) << c.name;
    }
  }
  // Thresholds can be changed: a lower floor catches the small step.
  Feed low(TimingEventSettings{6.0, 20.0});
  low.seconds(100);
  low.state.ppsOffsetNs += 40;
  low.seconds(10);
  EXPECT_EQ(low.kinds(), Kinds{"pps_step"});
  // Too little history for a spread: no step yet.
  Feed early;
  early.seconds(5);
  early.state.ppsOffsetNs += 500;
  early.seconds(2);
  EXPECT_TRUE(early.events.empty());
}

TEST(TimingEvents, AlarmsModeStatusAndTheSurvey) {
  Feed run;
  run.state.alarms = 1u << TimingEventDetector::kSurveyAlarmBit;
  run.state.mode = 4;
  for (int p = 0; p <= 100; p += 10) {
    run.state.surveyProgress = p;
    run.seconds(1);
  }
  EXPECT_TRUE(run.events.empty()) << "a survey running from the start is not an event";
  run.state.alarms = 0;
  run.state.mode = 7;
  run.seconds(1);
  run.state.alarms = 0x0008;
  run.state.status = 8;
  run.seconds(3);
  run.state.alarms = 0;
  run.state.status = 0;
  run.seconds(1);
  run.state.alarms = 1u << TimingEventDetector::kSurveyAlarmBit;
  run.state.surveyProgress = 0;
  run.seconds(1);
  run.state.surveyProgress = 30;
  run.seconds(1);
  run.state.surveyProgress = 5;  // fell back: started again
  run.seconds(1);
  EXPECT_EQ(run.kinds(), (Kinds{"alarm_cleared", "mode_change", "survey_finished",
                                "alarm_raised", "status_change", "alarm_cleared",
                                "status_change", "alarm_raised", "survey_restarted",
                                "survey_restarted"}));
  EXPECT_EQ(run.events[0].detail, "Self-Survey Activity");
  EXPECT_EQ(run.events[1].from, 4);
  EXPECT_EQ(run.events[1].to, 7);
  EXPECT_EQ(run.events[3].detail, "Satellite Tracking");
  EXPECT_EQ(run.events[3].from, 3);
  EXPECT_EQ(run.events[4].to, 8);
  EXPECT_EQ(run.events[2].from, 100);
}

TEST(TimingEvents, OutagesFromSilenceOrFromTheCaller) {
  Feed guessed;
  guessed.seconds(30);
  guessed.state.t += 20;
  guessed.state.ppsOffsetNs += 300;  // the PPS moved while nothing came: not a step
  guessed.seconds(5);
  EXPECT_EQ(guessed.kinds(), (Kinds{"device_lost", "device_back"}));
  EXPECT_DOUBLE_EQ(guessed.events[0].t, 29);
  EXPECT_DOUBLE_EQ(guessed.events[1].t, 50);

  // A caller that knows says so; silence is then not guessed at.
  Feed told;
  told.seconds(30);
  for (TimingEvent& e : told.detector.deviceLost(30)) told.events.push_back(e);
  EXPECT_TRUE(told.detector.deviceLost(31).empty()) << "lost once";
  told.state.t += 20;
  for (TimingEvent& e : told.detector.deviceBack(49)) told.events.push_back(e);
  told.seconds(5);
  EXPECT_EQ(told.kinds(), (Kinds{"device_lost", "device_back"}));
  EXPECT_TRUE(told.detector.deviceBack(60).empty()) << "back once";

  // A corrupt clock that leaps ahead still gives a readable text.
  TimingEventDetector leap;
  leap.add({0, 0, 0, 0, 0, 0});
  const std::vector<TimingEvent> e = leap.add({1e300, 0, 0, 0, 0, 0});
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].detail, "no timing report for 1e+300 s");
}

TEST(TimingEvents, KindsAreFixedLabels) {
  const auto kinds = TimingEventKinds();
  EXPECT_EQ(kinds.size(), 9u);
  for (std::string_view k : kinds) {
    for (char ch : k) EXPECT_TRUE((ch >= 'a' && ch <= 'z') || ch == '_') << k;
  }
  EXPECT_EQ(MinorAlarmName(11), "Almanac");
  EXPECT_EQ(MinorAlarmName(13), "Bit 13");
  EXPECT_EQ(MinorAlarmName(99), "Bit 99");
}

TEST(TimingEvents, TablesIgnoreACommaLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale here";
  TimingEvent e;
  e.t = 12.5;
  e.kind = event_kind::kPpsStep;
  e.value = -80.25;
  const std::vector<std::string> cells = TimingEventCells(e);
  std::string number;
  AppendNumber(number, 0.5);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(cells[0], "12.5");
  EXPECT_EQ(cells[5], "-80.25");
  EXPECT_EQ(number, "0.5");
  EXPECT_EQ(CsvField("a, \"b\""), "\"a, \"\"b\"\"\"");
}
