// The reset test's read-back fields: the last value six configuration reports
// carried. Report decoders write them on the GUI thread; the segment-check
// worker sets them to -1 (not received yet) before it queries and then polls
// them, so each is an atomic.
#pragma once

#include <atomic>
#include <cstdint>

namespace halvix::reports {

struct ReadBackFields {
  std::atomic<float> refAltitude{-1.0f};
  std::atomic<std::int16_t> datumIndex{-1};
  std::atomic<std::int32_t> portAParity{-1};
  std::atomic<std::int32_t> portBParity{-1};
  std::atomic<std::int32_t> ppsOutputMode{-1};
  std::atomic<std::int32_t> surveyLength{-1};
  std::atomic<std::int32_t> nmeaInterval{-1};

  // Every field back to "not received yet".
  void clear() {
    refAltitude = -1.0f;
    datumIndex = -1;
    portAParity = -1;
    portBParity = -1;
    ppsOutputMode = -1;
    surveyLength = -1;
    nmeaInterval = -1;
  }
};

}  // namespace halvix::reports
