// The receiver-seconds of a recorded stream. A recording has no time stamps,
// so its seconds are told from the time it carries: a time report (0x8F-AB,
// 0x41, 0x8F-0B) with a later second than the last starts that second, and an
// answer to a poll that repeats a second does not. While the time does not
// move (a receiver without time, or a stream without time reports), each
// once-a-second 0x8F-AC starts a second. A jump forward is a gap of the
// seconds skipped; a jump far back (a reset, a new week) is a new start.
#pragma once

#include <cstdint>
#include <optional>

#include "reports/timing_layouts.h"

namespace halvix::recording {

class StreamTime {
 public:
  // A time that goes back further than this is a new start, not a late answer to a poll.
  static constexpr std::int64_t kBackwardJumpSeconds = 10;

  struct Step {
    bool newSecond = false;
    std::int64_t skipped = 0;  // seconds of stream time skipped just before the new one
  };

  // Every packet of the stream, in order. The first second starts before the first packet.
  Step packet(int id, const std::uint8_t* payload, int length);

  // Seconds of stream time from the first second to the current one, gaps included.
  std::int64_t elapsed() const { return elapsed_; }

 private:
  Step start(std::int64_t skipped);

  std::optional<std::int64_t> last_;
  bool acInSecond_ = false;
  std::int64_t elapsed_ = 0;
};

// Follows the stream's time with a packet, and returns the packet decoded when
// it is a supplemental timing report (0x8F-AC) of the right length.
std::optional<reports::SupplementalTiming> TimedSupplementalTiming(StreamTime& time, int id,
                                                                   const std::uint8_t* payload, int length);

}  // namespace halvix::recording
