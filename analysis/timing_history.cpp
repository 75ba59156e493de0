#include "analysis/timing_history.h"

#include <algorithm>
#include <cmath>

namespace halvix::analysis {

namespace {

std::uint8_t Count(int n) { return static_cast<std::uint8_t>(std::clamp(n, 0, 255)); }

}  // namespace

TimingHistory::TimingHistory(std::size_t capacity)
    : timing_(capacity), satellites_(capacity), raw_(capacity), corrected_(capacity) {}

void TimingHistory::addTiming(double t, float ppsOffset, float oscillatorOffset,
                              float quantizationError, std::uint16_t alarms) {
  const PhaseSeries::Step step = phase_.add(t, ppsOffset, quantizationError);
  if (step.kind == PhaseGaps::Kind::Restart) {
    // Samples either side are not one evenly spaced series.
    raw_.clear();
    corrected_.clear();
    ++restarts_;
  }
  if (step.kind != PhaseGaps::Kind::Repeat) {
    // A missing second stays missing: the analysis leaves out the terms across it.
    raw_.addGap(static_cast<std::size_t>(step.missing));
    corrected_.addGap(static_cast<std::size_t>(step.missing));
    raw_.add(step.point.raw);
    corrected_.add(step.point.corrected);
  }
  // A second report of the same second is charted, not analysed twice.
  timing_.push({t, ppsOffset, oscillatorOffset, quantizationError, alarms, tracked_, used_});
}

double TimingHistory::streamSecond(double t) const {
  if (timing_.empty()) return t;
  const double last = timing_.back().t;
  if (t > last && t - last <= kMaxBridgedSeconds) return std::min(last + 1.0, t);
  return t;
}

void TimingHistory::addSatellites(double t, int tracked, int used) {
  tracked_ = Count(tracked);
  used_ = Count(used);
  satellites_.push({t, tracked_, used_});
}

void TimingHistory::clear() {
  timing_.clear();
  satellites_.clear();
  raw_.clear();
  corrected_.clear();
  phase_.reset();
  tracked_ = used_ = 0;
  restarts_ = 0;
}

}  // namespace halvix::analysis
