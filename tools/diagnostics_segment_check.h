// The reset test's segment check: after a factory reset, reads back the six
// configuration values the test wrote to EEPROM and says which of them were
// not returned to their defaults. It runs on the one worker thread of the
// program and never touches the device: its queries are handed to the link's
// thread. A stop flag, checked between its steps, ends it early and the
// owner then joins it, so it never stops in the middle of a send.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "link/serial_link.h"
#include "reports/readback_fields.h"

namespace halvix::tools {

struct SegmentCheckOutcome {
  enum class Kind { Result, NotRetrieved, Stopped };
  Kind kind = Kind::Stopped;
  // For Result: the text for the Message window.
  QString text;
};

// The values as read back; -1 where nothing arrived.
struct ReadBackValues {
  float refAltitude = -1.0f;
  std::int16_t datumIndex = -1;
  std::int32_t portAParity = -1;
  std::int32_t portBParity = -1;
  std::int32_t ppsOutputMode = -1;
  std::int32_t surveyLength = -1;
  std::int32_t nmeaInterval = -1;
};
ReadBackValues Snapshot(const reports::ReadBackFields& fields);

// The result text for values that have all arrived: one line for each that
// still holds what the test wrote, or the all-default line.
QString SegmentCheckText(const ReadBackValues& values, int testPort);

// The check itself, run on the calling thread.
SegmentCheckOutcome RunSegmentCheck(link::SerialLink& link, reports::ReadBackFields& fields, int testPort,
                                    const std::atomic<bool>& stop);

class SegmentCheckWorker {
 public:
  static constexpr int kMaxRounds = 25;
  static constexpr std::int64_t kRoundPauseMs = 200;

  using Done = std::function<void(const SegmentCheckOutcome&)>;

  SegmentCheckWorker() = default;
  ~SegmentCheckWorker() { stop(); }
  SegmentCheckWorker(const SegmentCheckWorker&) = delete;
  SegmentCheckWorker& operator=(const SegmentCheckWorker&) = delete;

  // Stops a check in progress, then starts a new one. done runs on the
  // worker thread when the check ends, unless it was stopped. False when
  // the thread could not be created.
  bool start(link::SerialLink& link, reports::ReadBackFields& fields, int testPort, Done done);
  // Asks the check to stop and waits for it.
  void stop();
  bool running() const { return thread_.joinable() && !finished_; }

 private:
  std::thread thread_;
  link::SerialLink* link_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{true};
};

}  // namespace halvix::tools
