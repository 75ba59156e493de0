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
  const double phase = ppsOffset * 1e-9;
  const double correctedPhase = (static_cast<double>(ppsOffset) - quantizationError) * 1e-9;
  if (timing_.empty() || raw_.size() == 0) {
    raw_.add(phase);
    corrected_.add(correctedPhase);
  } else {
    const TimingSample& last = timing_.back();
    const long long steps = std::llround(t - last.t);
    if (steps > kMaxBridgedSeconds || steps < 0) {
      // Samples either side of an outage are not a phase series of one tau0.
      raw_.clear();
      corrected_.clear();
      ++restarts_;
      raw_.add(phase);
      corrected_.add(correctedPhase);
    } else if (steps >= 1) {
      const double lastRaw = last.ppsOffset * 1e-9;
      const double lastCorrected = (static_cast<double>(last.ppsOffset) - last.quantizationError) * 1e-9;
      for (long long k = 1; k < steps; ++k) {
        const double f = static_cast<double>(k) / static_cast<double>(steps);
        raw_.add(lastRaw + f * (phase - lastRaw));
        corrected_.add(lastCorrected + f * (correctedPhase - lastCorrected));
      }
      raw_.add(phase);
      corrected_.add(correctedPhase);
    }
    // steps == 0: a second report of the same second; charted, not analysed twice.
  }
  timing_.push({t, ppsOffset, oscillatorOffset, quantizationError, alarms, tracked_, used_});
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
  tracked_ = used_ = 0;
  restarts_ = 0;
}

}  // namespace halvix::analysis
