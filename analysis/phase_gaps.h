// The PPS phase series the stability analysis reads, and the one rule that
// places its timed points on an evenly spaced series, shared by the Charts
// window, the monitor and halvix-decode: a
// point one second after the last follows it; seconds with no point stay gaps
// (missing points), never bridged and never closed up; a second point in the
// same second is not a new point; time going back, or an outage longer than a
// day, starts a new series.
#pragma once

#include <cstdint>
#include <optional>

namespace halvix::analysis {

class PhaseGaps {
 public:
  // Missing seconds kept as a gap; a longer outage starts a new series.
  static constexpr std::int64_t kMaxGapSeconds = 86'400;

  enum class Kind { Next, Repeat, Restart };
  struct Place {
    Kind kind = Kind::Next;
    std::int64_t missing = 0;  // Next: missing points before this one
  };

  // A point at t seconds (rounded to whole seconds from the last point).
  Place place(double t);
  void reset() { last_.reset(); }

 private:
  std::optional<double> last_;
};

// One phase point of the PPS (seconds): its offset, and the offset less the
// quantization error the receiver reports for it.
struct PhasePoint {
  double raw = 0;
  double corrected = 0;
};
PhasePoint PpsPhase(double ppsOffsetNs, double quantizationErrorNs);

// The supplemental timing reports as the phase series: each report's point
// and where it falls by the gap rule.
class PhaseSeries {
 public:
  struct Step {
    PhaseGaps::Kind kind = PhaseGaps::Kind::Next;
    std::int64_t missing = 0;  // Next: missing points before this one
    PhasePoint point;
  };
  Step add(double t, double ppsOffsetNs, double quantizationErrorNs) {
    const PhaseGaps::Place place = gaps_.place(t);
    return {place.kind, place.missing, PpsPhase(ppsOffsetNs, quantizationErrorNs)};
  }
  void reset() { gaps_.reset(); }

 private:
  PhaseGaps gaps_;
};

}  // namespace halvix::analysis
