// Timing events seen in the stream of supplemental timing reports: a step in
// the PPS offset (beyond a multiple of the recent spread of its second-to-
// second changes and beyond an absolute floor), a minor alarm raised or
// cleared, a change of receiver mode or status, a self-survey finished or
// restarted, and the device lost and back. No widgets: feed the decoded
// values, get the events, each with a kind string fit for a metric label.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvix::analysis {

namespace event_kind {
inline constexpr std::string_view kPpsStep = "pps_step";
inline constexpr std::string_view kAlarmRaised = "alarm_raised";
inline constexpr std::string_view kAlarmCleared = "alarm_cleared";
inline constexpr std::string_view kModeChange = "mode_change";
inline constexpr std::string_view kStatusChange = "status_change";
inline constexpr std::string_view kSurveyFinished = "survey_finished";
inline constexpr std::string_view kSurveyRestarted = "survey_restarted";
inline constexpr std::string_view kDeviceLost = "device_lost";
inline constexpr std::string_view kDeviceBack = "device_back";
}  // namespace event_kind

// Every kind, in a fixed order (for counters that should exist at zero).
std::span<const std::string_view> TimingEventKinds();

// The minor alarm's caption by bit, as the main window labels its lamps;
// "Bit n" for a bit without a lamp.
std::string MinorAlarmName(int bit);

struct TimingEventSettings {
  // A PPS step: a change from one report to the next larger than stepSpreads
  // times the recent spread of such changes, and larger than stepFloorNs.
  double stepSpreads = 6.0;
  double stepFloorNs = 50.0;
  // Changes the spread is taken over, and how many it needs first.
  std::size_t spreadWindow = 60;
  std::size_t spreadMinimum = 10;
  // Without a report for longer than this the device is taken as lost, unless
  // the caller says when it is lost and back (deviceLost, deviceBack).
  double silenceSeconds = 5.0;
};

struct TimingEvent {
  double t = 0;            // seconds, as fed
  std::string_view kind;   // one of event_kind
  int from = -1;           // mode or status before, alarm bit, survey progress
  int to = -1;             // mode or status after, survey progress
  double value = 0;        // PPS step (ns), silence (s)
  std::string detail;      // a short text
};

// What one supplemental timing report carries for the detector.
struct TimingInput {
  double t = 0;  // seconds
  double ppsOffsetNs = 0;
  std::uint16_t alarms = 0;
  int mode = 0;
  int status = 0;
  int surveyProgress = 0;  // percent
};

class TimingEventDetector {
 public:
  static constexpr int kSurveyAlarmBit = 5;  // "Self-Survey Activity"

  explicit TimingEventDetector(TimingEventSettings settings = {});

  // The events this report shows, in order. The first report only sets the state.
  std::vector<TimingEvent> add(const TimingInput& in);
  // The clock of the reports jumped (a receiver that just found GPS time, a
  // recording's new start): the next report is not compared in time with the
  // last one, so neither a silence nor a PPS step is read from the jump.
  void timeJumped() { timeJumped_ = true; }
  // From a caller that knows the device: these replace the guess from silence.
  std::vector<TimingEvent> deviceLost(double t);
  std::vector<TimingEvent> deviceBack(double t);

  // Names for mode and status numbers in the events' text (else the numbers).
  void setNames(std::function<std::string(int)> mode, std::function<std::string(int)> status);

  const TimingEventSettings& settings() const { return settings_; }
  void setSettings(const TimingEventSettings& settings);
  void reset();

 private:
  double spread() const;  // robust standard deviation of the recent changes

  TimingEventSettings settings_;
  std::optional<TimingInput> last_;
  std::vector<double> changes_;  // ring of the recent changes
  std::size_t nextChange_ = 0;
  bool told_ = false;   // the caller reports the device
  bool lost_ = false;
  bool timeJumped_ = false;
  mutable std::vector<double> scratch_;
  std::function<std::string(int)> modeName_, statusName_;
};

// The event table as halvix-decode --events and the Charts window's event
// export write it: time_s, kind, detail, from, to, value. Numbers through
// std::to_chars, whatever the locale.
std::span<const std::string_view> TimingEventColumns();
std::vector<std::string> TimingEventCells(const TimingEvent& e);
// A CSV field, quoted when it holds a comma, a quote or a line end.
std::string CsvField(std::string_view text);

}  // namespace halvix::analysis
