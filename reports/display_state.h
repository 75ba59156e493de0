// The receiver display state shared by the decoders, the link timer and the
// Control menu: report watchdogs, one-shot requests, the latitude/longitude
// style and the satellite table's row countdowns and selection list.
#pragma once

#include <array>

namespace halvix::reports {

inline constexpr int kSvRows = 12;
// Value a report reloads its watchdog or satellite row countdown to.
inline constexpr int kCountdownReload = 5;

struct DisplayState {
  int timeReportCountdown = 0;
  int timingReportCountdown = 0;
  bool timeToPcPending = false;
  bool downloadPositionPending = false;
  bool showDegMinSec = false;
  std::array<int, kSvRows> svRowCountdown{};
  // Satellites of the last selection report; negative = not used, 0 = empty.
  std::array<int, kSvRows> svSelection{};
};

}  // namespace halvix::reports
