// Frequency stability from phase data: overlapping Allan deviation, modified
// Allan deviation and time deviation, at averaging factors 1, 2, 5, 10, ... up
// to a quarter of the series. Each point carries its number of terms; the
// relative error bar is 1/sqrt(terms).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/ring_buffer.h"

namespace halvix::analysis {

struct DeviationPoint {
  double tau = 0;    // seconds
  double value = 0;  // ADEV, MDEV: dimensionless; TDEV: seconds
  std::size_t terms = 0;

  double errorFraction() const;  // 1/sqrt(terms)
};

struct StabilityResult {
  std::vector<DeviationPoint> adev;
  std::vector<DeviationPoint> mdev;
  std::vector<DeviationPoint> tdev;
};

// 1, 2, 5, 10, 20, 50, ... while not above limit.
std::vector<std::size_t> OneTwoFiveFactors(std::size_t limit);

// From scratch, for a phase series x (seconds) sampled every tau0 seconds.
StabilityResult ComputeStability(std::span<const double> x, double tau0 = 1.0);

// The same results kept up to date sample by sample over the last `capacity`
// phase points: each sample adds the terms it completes and, once the window
// is full, removes the terms of the sample it pushes out. A sample costs a few
// operations per averaging factor, whatever the length of the history, and a
// result costs one per factor.
class IncrementalStability {
 public:
  explicit IncrementalStability(std::size_t capacity, double tau0 = 1.0);

  void add(double x);
  void clear();
  std::size_t size() const { return phase_.size(); }
  std::size_t capacity() const { return phase_.capacity(); }
  StabilityResult result() const;

 private:
  struct Entry {
    double x = 0;
    long double before = 0;  // sum of every phase point added before this one
  };
  struct Sums {
    std::size_t m = 0;
    long double adev = 0;
    long double mdev = 0;
  };
  // Phase point and window sum by absolute index (first_ .. first_ + size).
  double x(std::uint64_t k) const { return phase_[static_cast<std::size_t>(k - first_)].x; }
  long double sumBefore(std::uint64_t k) const;
  long double windowSum(std::uint64_t from, std::size_t m) const;
  long double adevTerm(std::uint64_t i, std::size_t m) const;
  long double mdevTerm(std::uint64_t j, std::size_t m) const;

  double tau0_;
  RingBuffer<Entry> phase_;
  std::vector<Sums> sums_;
  std::uint64_t first_ = 0;  // absolute index of the oldest point held
  long double total_ = 0;    // sum of every phase point added
};

}  // namespace halvix::analysis
