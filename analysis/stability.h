// Frequency stability from phase data: overlapping Allan deviation, modified
// Allan deviation, time deviation and overlapping Hadamard deviation, at
// averaging factors 1, 2, 5, 10, ... up to a quarter of the series. A missing
// point (NaN) stays a gap: a term that would span it is left out and counted,
// and nothing is shifted to close it. Each point carries its number of terms,
// the noise type identified at its tau, its equivalent degrees of freedom and
// a 68.3 % chi-squared interval.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "analysis/confidence.h"
#include "analysis/ring_buffer.h"

namespace halvix::analysis {

struct DeviationPoint {
  double tau = 0;    // seconds
  double value = 0;  // ADEV, MDEV, HDEV: dimensionless; TDEV: seconds. NaN without terms
  std::size_t terms = 0;    // terms summed
  std::size_t skipped = 0;  // terms left out because they would span a gap
  NoiseType noise = NoiseType::WFM;  // identified at this tau
  double edf = 0;    // equivalent degrees of freedom
  double low = 0;    // 68.3 % interval, in the value's unit
  double high = 0;

  double errorFraction() const;  // 1/sqrt(terms), the rough bar
};

// One point per factor in each list, the lists in step.
struct StabilityResult {
  std::vector<DeviationPoint> adev;
  std::vector<DeviationPoint> mdev;
  std::vector<DeviationPoint> tdev;
  std::vector<DeviationPoint> hdev;
};

// 1, 2, 5, 10, 20, 50, ... while not above limit.
std::vector<std::size_t> OneTwoFiveFactors(std::size_t limit);

// From scratch, for a phase series x (seconds, NaN where a point is missing)
// sampled every tau0 seconds.
StabilityResult ComputeStability(std::span<const double> x, double tau0 = 1.0);

// The non-overlapping Allan and Hadamard deviations at one factor, for
// comparison with published tables; NaN without a complete term.
double NonOverlappingAdev(std::span<const double> x, std::size_t m, double tau0 = 1.0);
double NonOverlappingHdev(std::span<const double> x, std::size_t m, double tau0 = 1.0);

// The degrees of freedom and interval of one point are worked out again only
// when its noise type changes or its number of terms moves by more than a
// fiftieth: the interval hardly moves, and working it out costs far more
// than a sample.
struct IntervalCache {
  bool valid = false;
  NoiseType noise = NoiseType::WFM;
  std::size_t terms = 0;
  double edf = 0;
  IntervalFactors factors;
};

// The same results kept up to date sample by sample over the last `capacity`
// phase points: each sample adds the terms it completes and, once the window
// is full, removes the terms of the sample it pushes out. A sample costs a few
// operations per averaging factor, whatever the length of the history. A
// result costs a few per factor, and now and then a fresh noise
// identification over the window (not thread-safe: one thread per instance).
class IncrementalStability {
 public:
  explicit IncrementalStability(std::size_t capacity, double tau0 = 1.0);

  void add(double x);  // NaN: a missing point
  // `count` missing points; a gap as long as the window empties it.
  void addGap(std::size_t count);
  void clear();
  std::size_t size() const { return phase_.size(); }
  std::size_t capacity() const { return phase_.capacity(); }
  // Missing points held in the window.
  std::size_t gaps() const;
  StabilityResult result() const;

 private:
  struct Entry {
    long double before = 0;         // sum of every usable phase point added before this one
    double x = 0;
    std::uint64_t gapsBefore = 0;   // missing points added before this one
  };
  struct Sums {
    std::size_t m = 0;
    long double adev = 0, mdev = 0, hdev = 0;
    std::size_t adevTerms = 0, mdevTerms = 0, hdevTerms = 0;
  };
  struct FactorCache {
    std::optional<NoiseType> noise;
    IntervalCache adev, mdev, hdev;
  };
  // Phase point and window sum by absolute index (first_ .. first_ + size).
  double x(std::uint64_t k) const { return phase_[static_cast<std::size_t>(k - first_)].x; }
  long double sumBefore(std::uint64_t k) const;
  std::uint64_t gapsBefore(std::uint64_t k) const;
  void removeOldest();
  void identifyNoise() const;

  double tau0_;
  RingBuffer<Entry> phase_;
  std::vector<Sums> sums_;
  std::uint64_t first_ = 0;  // absolute index of the oldest point held
  long double total_ = 0;    // sum of every usable phase point added
  std::uint64_t gapTotal_ = 0;
  std::uint64_t added_ = 0;
  mutable std::vector<FactorCache> cache_;
  mutable std::uint64_t identifiedAt_ = 0;
  mutable bool identified_ = false;
};

}  // namespace halvix::analysis
