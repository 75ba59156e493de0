#include "recording/decode_events.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "analysis/phase_gaps.h"
#include "reports/timing_layouts.h"

namespace halvix::recording {

namespace {

// Text columns: wide enough for the usual values, a blank at least between.
constexpr std::size_t kWidths[] = {10, 18, 52, 6, 6, 0};

std::string Named(const QString& text, const char* what, int value) {
  if (!text.trimmed().isEmpty()) return text.toStdString();
  return std::string(what) + ' ' + std::to_string(value);
}

void AppendJsonString(std::string& s, std::string_view text) {
  s.push_back('"');
  for (char c : text) {
    if (c == '"' || c == '\\') {
      s.push_back('\\');
      s.push_back(c);
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
      s.append(buf);
    } else {
      s.push_back(c);
    }
  }
  s.push_back('"');
}

}  // namespace

EventCollector::EventCollector(DecodeFormat format, LineOutput& out,
                               analysis::TimingEventSettings settings)
    : format_(format), out_(out), detector_(settings) {
  detector_.setNames([](int v) { return Named(reports::SupplementalModeText(v), "mode", v); },
                     [](int v) { return Named(reports::SupplementalStatusText(v), "status", v); });
  if (format_ == DecodeFormat::JsonLines) return;
  const auto columns = analysis::TimingEventColumns();
  line_.clear();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (format_ == DecodeFormat::Csv) {
      if (i > 0) line_.push_back(',');
      line_.append(columns[i]);
    } else {
      line_.append(columns[i]);
      if (i + 1 < columns.size()) line_.append(kWidths[i] > columns[i].size() ? kWidths[i] - columns[i].size() : 1, ' ');
    }
  }
  line_.push_back('\n');
  out_.append(line_);
}

void EventCollector::packet(std::int64_t, int id, const std::uint8_t* payload, int length) {
  const auto r = TimedSupplementalTiming(time_, id, payload, length);
  if (!r) return;
  ++reports_;
  // A recording has no clock of its own: a leap of the stream's time by more
  // than a day is the receiver's time changing (found at start-up, set by
  // hand), not an outage.
  const std::int64_t second = time_.elapsed();
  if (lastSecond_ >= 0 && second - lastSecond_ > analysis::PhaseGaps::kMaxGapSeconds) detector_.timeJumped();
  lastSecond_ = second;
  const analysis::TimingInput in{static_cast<double>(second), r->ppsOffset, r->minorAlarms,
                                 r->receiverMode, r->statusCode, r->surveyProgress};
  for (const analysis::TimingEvent& e : detector_.add(in)) write(e);
}

void EventCollector::problem(std::int64_t, FrameFlaw, std::string_view) { ++problems_; }

void EventCollector::write(const analysis::TimingEvent& e) {
  ++events_;
  const auto columns = analysis::TimingEventColumns();
  const std::vector<std::string> cells = analysis::TimingEventCells(e);
  line_.clear();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const bool text = i == 1 || i == 2;  // kind, detail
    switch (format_) {
      case DecodeFormat::JsonLines:
        line_.append(i == 0 ? "{\"" : ",\"").append(columns[i]).append("\":");
        if (text) AppendJsonString(line_, cells[i]);
        else line_.append(cells[i] == "nan" || cells[i] == "inf" || cells[i] == "-inf" ? "null" : cells[i]);
        break;
      case DecodeFormat::Csv:
        if (i > 0) line_.push_back(',');
        line_.append(analysis::CsvField(cells[i]));
        break;
      case DecodeFormat::Text:
        line_.append(cells[i]);
        if (i + 1 < cells.size()) line_.append(kWidths[i] > cells[i].size() ? kWidths[i] - cells[i].size() : 1, ' ');
        break;
    }
  }
  if (format_ == DecodeFormat::JsonLines) line_.push_back('}');
  line_.push_back('\n');
  out_.append(line_);
}

std::string EventCollector::summary() const {
  return "8F-AC reports: " + std::to_string(reports_) + ", events: " + std::to_string(events_) +
         ", problems: " + std::to_string(problems_) + "\n";
}

}  // namespace halvix::recording
