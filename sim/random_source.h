// The simulated receiver's seeded pseudo-random source: the same seed gives
// the same noise, satellites and faults on every run.
#pragma once

#include <cstdint>

namespace halvix::sim {

class RandomSource {
 public:
  explicit RandomSource(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next();
  // Uniform in [0, 1).
  double uniform();
  double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  // Standard normal.
  double gaussian();
  // Uniform integer in [lo, hi].
  int between(int lo, int hi);
  bool chance(double probability) { return uniform() < probability; }

 private:
  std::uint64_t state_;
};

}  // namespace halvix::sim
