// halvix-decode --events: the timing events of a recording (PPS steps, minor
// alarms raised and cleared, mode and status changes, self-surveys finished or
// restarted, outages), one line each as they are found, at the stream second
// of the supplemental timing report that shows them. A leap of the stream's
// time by more than a day is taken as the time changing, not as an outage.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/timing_events.h"
#include "recording/decode_frames.h"
#include "recording/decode_output.h"
#include "recording/stream_time.h"

namespace halvix::recording {

class EventCollector final : public FrameReader {
 public:
  EventCollector(DecodeFormat format, LineOutput& out, analysis::TimingEventSettings settings = {});

  void finish() { deframer_.finish(); }

  void packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) override;
  void problem(std::int64_t offset, FrameFlaw flaw, std::string_view reason) override;

  std::int64_t reports() const { return reports_; }
  std::int64_t events() const { return events_; }
  // "8F-AC reports: N, events: N, problems: N" for standard error.
  std::string summary() const;

 private:
  void write(const analysis::TimingEvent& e);

  DecodeFormat format_;
  LineOutput& out_;
  analysis::TimingEventDetector detector_;
  StreamTime time_;
  std::int64_t reports_ = 0;
  std::int64_t events_ = 0;
  std::int64_t lastSecond_ = -1;
  std::string line_;
};

}  // namespace halvix::recording
