#include "analysis/phase_gaps.h"

#include <cmath>

namespace halvix::analysis {

PhaseGaps::Place PhaseGaps::place(double t) {
  if (!std::isfinite(t)) return {Kind::Repeat, 0};
  if (!last_) {
    last_ = t;
    return {Kind::Next, 0};
  }
  const double seconds = std::round(t - *last_);
  if (seconds == 0) return {Kind::Repeat, 0};
  last_ = t;
  if (seconds < 0 || seconds > static_cast<double>(kMaxGapSeconds) + 1) return {Kind::Restart, 0};
  return {Kind::Next, static_cast<std::int64_t>(seconds) - 1};
}

PhasePoint PpsPhase(double ppsOffsetNs, double quantizationErrorNs) {
  return {ppsOffsetNs * 1e-9, (ppsOffsetNs - quantizationErrorNs) * 1e-9};
}

}  // namespace halvix::analysis
