#include "analysis/timing_events.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace halvix::analysis {

namespace {

constexpr std::string_view kKinds[] = {
    event_kind::kPpsStep,        event_kind::kAlarmRaised,      event_kind::kAlarmCleared,
    event_kind::kModeChange,     event_kind::kStatusChange,     event_kind::kSurveyFinished,
    event_kind::kSurveyRestarted, event_kind::kDeviceLost,      event_kind::kDeviceBack};

std::string Number(double v, int decimals) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  // Too long for fixed notation (a corrupt report): the short form instead.
  if (r.ec != std::errc()) r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  return std::string(buf, r.ptr);
}

std::string Number(int v) {
  char buf[16];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

TimingEvent Event(double t, std::string_view kind, std::string detail) {
  TimingEvent e;
  e.t = t;
  e.kind = kind;
  e.detail = std::move(detail);
  return e;
}

}  // namespace

std::span<const std::string_view> TimingEventKinds() { return kKinds; }

std::span<const std::string_view> TimingEventColumns() {
  static constexpr std::string_view kColumns[] = {"time_s", "kind", "detail", "from", "to", "value"};
  return kColumns;
}

std::vector<std::string> TimingEventCells(const TimingEvent& e) {
  char buf[48];
  const auto number = [&buf](double v) {
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 10).ptr);
  };
  return {number(e.t), std::string(e.kind), e.detail, Number(e.from), Number(e.to), number(e.value)};
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

void TimingEventDetector::setNames(std::function<std::string(int)> mode,
                                   std::function<std::string(int)> status) {
  modeName_ = std::move(mode);
  statusName_ = std::move(status);
}

std::string MinorAlarmName(int bit) {
  static constexpr const char* kNames[16] = {
      nullptr,     "Antenna Open",          "Antenna Short",   "Satellite Tracking",
      nullptr,     "Self-Survey Activity",  "Stored Position", "Leap Second Pending",
      "Test Mode", "Position Questionable", "EEPROM Invalid",  "Almanac",
      nullptr,     nullptr,                 nullptr,           nullptr};
  if (bit >= 0 && bit < 16 && kNames[bit] != nullptr) return kNames[bit];
  return "Bit " + Number(bit);
}

TimingEventDetector::TimingEventDetector(TimingEventSettings settings) { setSettings(settings); }

void TimingEventDetector::setSettings(const TimingEventSettings& settings) {
  settings_ = settings;
  settings_.spreadWindow = std::max<std::size_t>(settings_.spreadWindow, 2);
  settings_.spreadMinimum = std::clamp<std::size_t>(settings_.spreadMinimum, 2, settings_.spreadWindow);
  changes_.clear();
  nextChange_ = 0;
}

void TimingEventDetector::reset() {
  last_.reset();
  changes_.clear();
  nextChange_ = 0;
  told_ = lost_ = timeJumped_ = false;
}

double TimingEventDetector::spread() const {
  // Median absolute deviation, scaled to a standard deviation: one spike in
  // the window does not widen it.
  scratch_.assign(changes_.begin(), changes_.end());
  const auto mid = scratch_.begin() + static_cast<std::ptrdiff_t>(scratch_.size() / 2);
  std::nth_element(scratch_.begin(), mid, scratch_.end());
  const double median = *mid;
  for (double& v : scratch_) v = std::fabs(v - median);
  std::nth_element(scratch_.begin(), mid, scratch_.end());
  return 1.4826 * *mid;
}

std::vector<TimingEvent> TimingEventDetector::deviceLost(double t) {
  told_ = true;
  if (lost_) return {};
  lost_ = true;
  return {Event(t, event_kind::kDeviceLost, "device lost")};
}

std::vector<TimingEvent> TimingEventDetector::deviceBack(double t) {
  told_ = true;
  if (!lost_) return {};
  lost_ = false;
  // The PPS before and after an outage are not one second apart.
  changes_.clear();
  nextChange_ = 0;
  if (last_) last_->ppsOffsetNs = std::nan("");
  return {Event(t, event_kind::kDeviceBack, "device back")};
}

std::vector<TimingEvent> TimingEventDetector::add(const TimingInput& in) {
  std::vector<TimingEvent> out;
  if (!last_) {
    last_ = in;
    return out;
  }
  const TimingInput before = *last_;
  last_ = in;
  const double silence = in.t - before.t;
  const bool jumped = timeJumped_;
  timeJumped_ = false;
  const bool continuous = !jumped && silence <= settings_.silenceSeconds;
  if (!continuous && !jumped && !told_) {
    TimingEvent lost = Event(before.t, event_kind::kDeviceLost,
                             "no timing report for " + Number(silence, 0) + " s");
    lost.value = silence;
    out.push_back(std::move(lost));
    out.push_back(Event(in.t, event_kind::kDeviceBack, "timing reports again"));
  }
  if (!continuous) {
    changes_.clear();
    nextChange_ = 0;
  }

  // PPS step, against the spread of the changes before this one.
  const double change = in.ppsOffsetNs - before.ppsOffsetNs;
  if (continuous && std::isfinite(change)) {
    if (changes_.size() >= settings_.spreadMinimum) {
      const double limit = std::max(settings_.stepSpreads * spread(), settings_.stepFloorNs);
      if (std::fabs(change) > limit) {
        TimingEvent e = Event(in.t, event_kind::kPpsStep,
                              (change > 0 ? "+" : "") + Number(change, 1) + " ns (limit " +
                                  Number(limit, 1) + " ns)");
        e.value = change;
        out.push_back(std::move(e));
      }
    }
    if (changes_.size() < settings_.spreadWindow) {
      changes_.push_back(change);
    } else {
      changes_[nextChange_] = change;
      nextChange_ = (nextChange_ + 1) % changes_.size();
    }
  }

  // Minor alarms, bit by bit.
  const std::uint16_t flipped = before.alarms ^ in.alarms;
  for (int bit = 0; bit < 16; ++bit) {
    if (((flipped >> bit) & 1) == 0) continue;
    const bool raised = ((in.alarms >> bit) & 1) != 0;
    TimingEvent e = Event(in.t, raised ? event_kind::kAlarmRaised : event_kind::kAlarmCleared,
                          MinorAlarmName(bit));
    e.from = bit;
    out.push_back(std::move(e));
  }

  if (in.mode != before.mode) {
    const auto name = [this](int v) { return modeName_ ? modeName_(v) : "mode " + Number(v); };
    TimingEvent e = Event(in.t, event_kind::kModeChange, name(before.mode) + " -> " + name(in.mode));
    e.from = before.mode;
    e.to = in.mode;
    out.push_back(std::move(e));
  }
  if (in.status != before.status) {
    const auto name = [this](int v) { return statusName_ ? statusName_(v) : "status " + Number(v); };
    TimingEvent e = Event(in.t, event_kind::kStatusChange, name(before.status) + " -> " + name(in.status));
    e.from = before.status;
    e.to = in.status;
    out.push_back(std::move(e));
  }

  // Self-survey: its activity alarm going off is the survey done; coming on,
  // or the progress falling back, a survey started again.
  const bool wasSurveying = ((before.alarms >> kSurveyAlarmBit) & 1) != 0;
  const bool surveying = ((in.alarms >> kSurveyAlarmBit) & 1) != 0;
  std::string_view survey;
  if (wasSurveying && !surveying) survey = event_kind::kSurveyFinished;
  else if (surveying && (!wasSurveying || in.surveyProgress < before.surveyProgress)) {
    survey = event_kind::kSurveyRestarted;
  }
  if (!survey.empty()) {
    TimingEvent e = Event(in.t, survey,
                          "progress " + Number(before.surveyProgress) + "% -> " +
                              Number(in.surveyProgress) + "%");
    e.from = before.surveyProgress;
    e.to = in.surveyProgress;
    out.push_back(std::move(e));
  }
  return out;
}

}  // namespace halvix::analysis
