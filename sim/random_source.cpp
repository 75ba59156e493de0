#include "sim/random_source.h"

#include <cmath>
#include <numbers>

namespace halvix::sim {

std::uint64_t RandomSource::next() {
  // splitmix64: tiny, fast and good enough for noise.
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double RandomSource::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

double RandomSource::gaussian() {
  const double u1 = 1.0 - uniform();  // (0, 1]
  const double u2 = uniform();
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

int RandomSource::between(int lo, int hi) {
  if (hi <= lo) return lo;
  const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
  return lo + static_cast<int>(next() % span);
}

}  // namespace halvix::sim
