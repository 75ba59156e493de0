// The one rule that places timed phase points on the evenly spaced series the
// stability analysis needs, shared by the Charts window and halvix-decode: a
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

}  // namespace halvix::analysis
