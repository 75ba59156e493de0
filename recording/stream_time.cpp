#include "recording/stream_time.h"

#include <cmath>

#include "reports/position_layouts.h"
#include "reports/timing_layouts.h"

namespace halvix::recording {

namespace {

std::optional<std::int64_t> TimeSecond(int id, const std::uint8_t* payload, int length) {
  double tow = -1;
  if (id == 0x8F && length >= 1 && payload[0] == 0xAB) {
    if (const auto r = reports::DecodePrimaryTiming(payload, length)) tow = r->timeOfWeek;
  } else if (id == 0x8F && length >= 1 && payload[0] == 0x0B) {
    if (const auto r = reports::DecodeComprehensiveTime(payload, length)) tow = r->timeOfWeek;
  } else if (id == 0x41) {
    if (const auto r = reports::DecodeGpsTime(payload, length)) tow = r->timeOfWeek;
  } else {
    return std::nullopt;
  }
  // -1 (no time yet) and nonsense are no time.
  if (!(tow >= 0 && tow < 604800.0 * 2)) return std::nullopt;
  return static_cast<std::int64_t>(std::floor(tow));
}

}  // namespace

StreamTime::Step StreamTime::start(std::int64_t skipped) {
  acInSecond_ = false;
  elapsed_ += 1 + skipped;
  return {true, skipped};
}

StreamTime::Step StreamTime::packet(int id, const std::uint8_t* payload, int length) {
  if (id == 0x8F && length >= 1 && payload[0] == 0xAC) {
    // The time has not moved since the last once-a-second report.
    const Step step = acInSecond_ ? start(0) : Step{};
    acInSecond_ = true;
    return step;
  }
  const std::optional<std::int64_t> s = TimeSecond(id, payload, length);
  if (!s) return {};
  Step step;
  if (!last_) {
    if (acInSecond_) step = start(0);
  } else if (*s > *last_) {
    step = start(*s - *last_ - 1);
  } else if (*s < *last_ - kBackwardJumpSeconds) {
    step = start(0);
  } else {
    return {};
  }
  last_ = *s;
  return step;
}

std::optional<reports::SupplementalTiming> TimedSupplementalTiming(StreamTime& time, int id,
                                                                   const std::uint8_t* payload, int length) {
  time.packet(id, payload, length);
  if (id != 0x8F || length < 1 || payload[0] != 0xAC) return std::nullopt;
  return reports::DecodeSupplementalTiming(payload, length);
}

}  // namespace halvix::recording
