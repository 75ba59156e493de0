#include "analysis/stability.h"

#include <algorithm>
#include <cmath>

namespace halvix::analysis {

double DeviationPoint::errorFraction() const {
  return terms == 0 ? 0.0 : 1.0 / std::sqrt(static_cast<double>(terms));
}

std::vector<std::size_t> OneTwoFiveFactors(std::size_t limit) {
  std::vector<std::size_t> out;
  for (std::size_t decade = 1; decade <= limit; decade *= 10) {
    for (std::size_t step : {1, 2, 5}) {
      if (decade * step <= limit) out.push_back(decade * step);
    }
  }
  return out;
}

namespace {

// Adds the three deviations of one factor from its sums of squared terms.
void AddPoints(StabilityResult& r, std::size_t m, double tau0, long double adevSum,
               std::size_t adevTerms, long double mdevSum, std::size_t mdevTerms) {
  const double tau = static_cast<double>(m) * tau0;
  const double md = static_cast<double>(m);
  if (adevTerms > 0) {
    const long double var = adevSum / (2.0L * tau * tau * adevTerms);
    r.adev.push_back({tau, std::sqrt(static_cast<double>(std::max(var, 0.0L))), adevTerms});
  }
  if (mdevTerms > 0) {
    const long double var = mdevSum / (2.0L * md * md * tau * tau * mdevTerms);
    const double mdev = std::sqrt(static_cast<double>(std::max(var, 0.0L)));
    r.mdev.push_back({tau, mdev, mdevTerms});
    r.tdev.push_back({tau, tau / std::sqrt(3.0) * mdev, mdevTerms});
  }
}

}  // namespace

StabilityResult ComputeStability(std::span<const double> x, double tau0) {
  StabilityResult r;
  const std::size_t n = x.size();
  // Prefix sums make each modified-Allan term cost O(1).
  std::vector<long double> prefix(n + 1, 0.0L);
  for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + x[i];
  const auto window = [&](std::size_t from, std::size_t m) { return prefix[from + m] - prefix[from]; };
  for (std::size_t m : OneTwoFiveFactors(n / 4)) {
    long double adev = 0;
    for (std::size_t i = 0; i + 2 * m < n; ++i) {
      const long double d = static_cast<long double>(x[i + 2 * m]) - 2.0L * x[i + m] + x[i];
      adev += d * d;
    }
    long double mdev = 0;
    for (std::size_t j = 0; j + 3 * m <= n; ++j) {
      const long double s = window(j + 2 * m, m) - 2.0L * window(j + m, m) + window(j, m);
      mdev += s * s;
    }
    AddPoints(r, m, tau0, adev, n - 2 * m, mdev, n - 3 * m + 1);
  }
  return r;
}

IncrementalStability::IncrementalStability(std::size_t capacity, double tau0)
    : tau0_(tau0), phase_(capacity) {
  for (std::size_t m : OneTwoFiveFactors(capacity / 4)) sums_.push_back({m, 0, 0});
}

void IncrementalStability::clear() {
  phase_.clear();
  for (Sums& s : sums_) s.adev = s.mdev = 0;
  first_ = 0;
  total_ = 0;
}

long double IncrementalStability::sumBefore(std::uint64_t k) const {
  const std::uint64_t end = first_ + phase_.size();
  return k == end ? total_ : phase_[static_cast<std::size_t>(k - first_)].before;
}

long double IncrementalStability::windowSum(std::uint64_t from, std::size_t m) const {
  return sumBefore(from + m) - sumBefore(from);
}

long double IncrementalStability::adevTerm(std::uint64_t i, std::size_t m) const {
  const long double d = static_cast<long double>(x(i + 2 * m)) - 2.0L * x(i + m) + x(i);
  return d * d;
}

long double IncrementalStability::mdevTerm(std::uint64_t j, std::size_t m) const {
  const long double s = windowSum(j + 2 * m, m) - 2.0L * windowSum(j + m, m) + windowSum(j, m);
  return s * s;
}

void IncrementalStability::add(double value) {
  if (phase_.capacity() == 0) return;
  if (phase_.full()) {
    // The oldest point leaves: so do the terms that start at it.
    const std::size_t n = phase_.size();
    for (Sums& s : sums_) {
      if (n > 2 * s.m) s.adev -= adevTerm(first_, s.m);
      if (n >= 3 * s.m) s.mdev -= mdevTerm(first_, s.m);
    }
    ++first_;
  }
  phase_.push({value, total_});
  total_ += value;
  // The terms that end at the new point.
  const std::size_t n = phase_.size();
  const std::uint64_t last = first_ + n - 1;
  for (Sums& s : sums_) {
    if (n > 2 * s.m) s.adev += adevTerm(last - 2 * s.m, s.m);
    if (n >= 3 * s.m) s.mdev += mdevTerm(last + 1 - 3 * s.m, s.m);
  }
}

StabilityResult IncrementalStability::result() const {
  StabilityResult r;
  const std::size_t n = phase_.size();
  for (const Sums& s : sums_) {
    if (s.m > n / 4) break;
    AddPoints(r, s.m, tau0_, s.adev, n - 2 * s.m, s.mdev, n - 3 * s.m + 1);
  }
  return r;
}

}  // namespace halvix::analysis
