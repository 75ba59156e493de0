#include "analysis/stability.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Squared second and third differences at spacing m; NaN when a point is missing.
template <typename X>
long double AdevTerm(const X& x, std::uint64_t i, std::size_t m) {
  const long double d = static_cast<long double>(x(i + 2 * m)) - 2.0L * x(i + m) + x(i);
  return d * d;
}
template <typename X>
long double HdevTerm(const X& x, std::uint64_t i, std::size_t m) {
  const long double d = static_cast<long double>(x(i + 3 * m)) - 3.0L * x(i + 2 * m) +
                        3.0L * x(i + m) - x(i);
  return d * d;
}

struct FactorSums {
  std::size_t m = 0;
  long double adev = 0, mdev = 0, hdev = 0;
  std::size_t adevTerms = 0, mdevTerms = 0, hdevTerms = 0;
};

DeviationPoint Point(double tau, long double variance, std::size_t terms, std::size_t total,
                     NoiseType noise, Estimator estimator, std::size_t m, IntervalCache& cache) {
  DeviationPoint p;
  p.tau = tau;
  p.terms = terms;
  p.skipped = total > terms ? total - terms : 0;
  p.noise = noise;
  if (terms == 0) {
    p.value = p.low = p.high = kNaN;
    return p;
  }
  p.value = std::sqrt(static_cast<double>(std::max(variance, 0.0L)));
  const bool stale = !cache.valid || cache.noise != noise ||
                     (terms > cache.terms ? terms - cache.terms : cache.terms - terms) * 50 > cache.terms;
  if (stale) {
    cache.valid = true;
    cache.noise = noise;
    cache.terms = terms;
    cache.edf = EquivalentDegreesOfFreedom(noise, estimator, m, terms);
    cache.factors = ChiSquaredInterval(cache.edf);
  }
  p.edf = cache.edf;
  p.low = p.value * cache.factors.low;
  p.high = p.value * cache.factors.high;
  return p;
}

// The four deviations of one factor from its sums of squared terms.
void AddPoints(StabilityResult& r, const FactorSums& s, std::size_t n, double tau0,
               NoiseType noise, IntervalCache& adevCache, IntervalCache& mdevCache,
               IntervalCache& hdevCache) {
  const std::size_t m = s.m;
  const double tau = static_cast<double>(m) * tau0;
  const long double tau2 = static_cast<long double>(tau) * tau;
  const long double md = static_cast<long double>(m);
  const auto per = [](long double sum, std::size_t terms) {
    return terms == 0 ? 0.0L : sum / static_cast<long double>(terms);
  };
  r.adev.push_back(Point(tau, per(s.adev, s.adevTerms) / (2.0L * tau2), s.adevTerms, n - 2 * m,
                         noise, Estimator::Allan, m, adevCache));
  DeviationPoint mdev = Point(tau, per(s.mdev, s.mdevTerms) / (2.0L * md * md * tau2),
                              s.mdevTerms, n - 3 * m + 1, noise, Estimator::Modified, m, mdevCache);
  r.mdev.push_back(mdev);
  // TDEV^2 = tau^2 / 3 MVAR: the same terms, the same interval.
  const double scale = tau / std::sqrt(3.0);
  mdev.value *= scale;
  mdev.low *= scale;
  mdev.high *= scale;
  r.tdev.push_back(mdev);
  r.hdev.push_back(Point(tau, per(s.hdev, s.hdevTerms) / (6.0L * tau2), s.hdevTerms, n - 3 * m,
                         noise, Estimator::Hadamard, m, hdevCache));
}

// The noise at each factor; where too few samples remain to tell, the one
// found at the factor below (white frequency before any).
template <typename PhaseAt>
std::vector<NoiseType> NoisePerFactor(const std::vector<std::size_t>& factors, std::size_t n,
                                      PhaseAt phaseAt) {
  std::vector<NoiseType> out;
  NoiseType last = NoiseType::WFM;
  for (std::size_t m : factors) {
    if (const auto found = IdentifyNoiseAt(n, m, phaseAt)) last = *found;
    out.push_back(last);
  }
  return out;
}

}  // namespace

StabilityResult ComputeStability(std::span<const double> x, double tau0) {
  StabilityResult r;
  const std::size_t n = x.size();
  // Prefix sums (of the usable points) and prefix counts of missing ones make
  // each modified-Allan term cost O(1).
  std::vector<long double> prefix(n + 1, 0.0L);
  std::vector<std::size_t> gaps(n + 1, 0);
  for (std::size_t i = 0; i < n; ++i) {
    const bool usable = std::isfinite(x[i]);
    prefix[i + 1] = prefix[i] + (usable ? x[i] : 0.0);
    gaps[i + 1] = gaps[i] + (usable ? 0 : 1);
  }
  const auto at = [&](std::uint64_t i) { return x[static_cast<std::size_t>(i)]; };
  const auto window = [&](std::size_t from, std::size_t m) { return prefix[from + m] - prefix[from]; };
  const std::vector<std::size_t> factors = OneTwoFiveFactors(n / 4);
  const std::vector<NoiseType> noise = NoisePerFactor(factors, n, [&](std::size_t i) { return x[i]; });
  for (std::size_t k = 0; k < factors.size(); ++k) {
    FactorSums s;
    const std::size_t m = s.m = factors[k];
    for (std::size_t i = 0; i + 2 * m < n; ++i) {
      const long double t = AdevTerm(at, i, m);
      if (!std::isnan(t)) s.adev += t, ++s.adevTerms;
    }
    for (std::size_t i = 0; i + 3 * m < n; ++i) {
      const long double t = HdevTerm(at, i, m);
      if (!std::isnan(t)) s.hdev += t, ++s.hdevTerms;
    }
    for (std::size_t j = 0; j + 3 * m <= n; ++j) {
      if (gaps[j + 3 * m] != gaps[j]) continue;
      const long double t = window(j + 2 * m, m) - 2.0L * window(j + m, m) + window(j, m);
      s.mdev += t * t;
      ++s.mdevTerms;
    }
    IntervalCache a, md, h;
    AddPoints(r, s, n, tau0, noise[k], a, md, h);
  }
  return r;
}

namespace {

template <int Order>
double NonOverlapping(std::span<const double> x, std::size_t m, double tau0) {
  const std::size_t n = x.size();
  if (m == 0) return kNaN;
  const auto at = [&](std::uint64_t i) { return x[static_cast<std::size_t>(i)]; };
  long double sum = 0;
  std::size_t terms = 0;
  for (std::size_t i = 0; i + Order * m < n; i += m) {
    const long double t = Order == 2 ? AdevTerm(at, i, m) : HdevTerm(at, i, m);
    if (!std::isnan(t)) sum += t, ++terms;
  }
  if (terms == 0) return kNaN;
  const long double tau = static_cast<long double>(m) * tau0;
  return std::sqrt(static_cast<double>(sum / ((Order == 2 ? 2 : 6) * tau * tau * terms)));
}

}  // namespace

double NonOverlappingAdev(std::span<const double> x, std::size_t m, double tau0) {
  return NonOverlapping<2>(x, m, tau0);
}

double NonOverlappingHdev(std::span<const double> x, std::size_t m, double tau0) {
  return NonOverlapping<3>(x, m, tau0);
}

IncrementalStability::IncrementalStability(std::size_t capacity, double tau0)
    : tau0_(tau0), phase_(capacity) {
  for (std::size_t m : OneTwoFiveFactors(capacity / 4)) sums_.push_back({m, 0, 0, 0, 0, 0, 0});
  cache_.resize(sums_.size());
}

void IncrementalStability::clear() {
  phase_.clear();
  for (Sums& s : sums_) s = {s.m, 0, 0, 0, 0, 0, 0};
  first_ = 0;
  total_ = 0;
  gapTotal_ = 0;
  added_ = 0;
  identified_ = false;
  for (FactorCache& c : cache_) c = {};
}

long double IncrementalStability::sumBefore(std::uint64_t k) const {
  const std::uint64_t end = first_ + phase_.size();
  return k == end ? total_ : phase_[static_cast<std::size_t>(k - first_)].before;
}

std::uint64_t IncrementalStability::gapsBefore(std::uint64_t k) const {
  const std::uint64_t end = first_ + phase_.size();
  return k == end ? gapTotal_ : phase_[static_cast<std::size_t>(k - first_)].gapsBefore;
}

std::size_t IncrementalStability::gaps() const {
  return static_cast<std::size_t>(gapTotal_ - gapsBefore(first_));
}

void IncrementalStability::removeOldest() {
  // The oldest point leaves: so do the terms that start at it.
  const std::size_t n = phase_.size();
  const auto at = [this](std::uint64_t k) { return x(k); };
  for (Sums& s : sums_) {
    const std::size_t m = s.m;
    if (n > 2 * m) {
      const long double t = AdevTerm(at, first_, m);
      if (!std::isnan(t)) s.adev -= t, --s.adevTerms;
    }
    if (n > 3 * m) {
      const long double t = HdevTerm(at, first_, m);
      if (!std::isnan(t)) s.hdev -= t, --s.hdevTerms;
    }
    if (n >= 3 * m && gapsBefore(first_ + 3 * m) == gapsBefore(first_)) {
      const auto w = [&](std::uint64_t from) { return sumBefore(from + m) - sumBefore(from); };
      const long double t = w(first_ + 2 * m) - 2.0L * w(first_ + m) + w(first_);
      s.mdev -= t * t;
      --s.mdevTerms;
    }
  }
  ++first_;
}

void IncrementalStability::addGap(std::size_t count) {
  if (count >= phase_.capacity()) {
    clear();
    return;
  }
  for (std::size_t i = 0; i < count; ++i) add(kNaN);
}

void IncrementalStability::add(double value) {
  if (phase_.capacity() == 0) return;
  if (phase_.full()) removeOldest();
  const bool usable = std::isfinite(value);
  phase_.push({total_, usable ? value : kNaN, gapTotal_});
  if (usable) total_ += value;
  else ++gapTotal_;
  ++added_;
  // The terms that end at the new point.
  const std::size_t n = phase_.size();
  const std::uint64_t last = first_ + n - 1;
  const auto at = [this](std::uint64_t k) { return x(k); };
  for (Sums& s : sums_) {
    const std::size_t m = s.m;
    if (n > 2 * m) {
      const long double t = AdevTerm(at, last - 2 * m, m);
      if (!std::isnan(t)) s.adev += t, ++s.adevTerms;
    }
    if (n > 3 * m) {
      const long double t = HdevTerm(at, last - 3 * m, m);
      if (!std::isnan(t)) s.hdev += t, ++s.hdevTerms;
    }
    const std::uint64_t j = last + 1 - 3 * m;
    if (n >= 3 * m && gapsBefore(last + 1) == gapsBefore(j)) {
      const auto w = [&](std::uint64_t from) { return sumBefore(from + m) - sumBefore(from); };
      const long double t = w(j + 2 * m) - 2.0L * w(j + m) + w(j);
      s.mdev += t * t;
      ++s.mdevTerms;
    }
  }
}

void IncrementalStability::identifyNoise() const {
  // Often while the window is short, then every eighth of it: the noise of a
  // day's window does not change type in three hours' worth of samples, and
  // a look costs a pass over the window per factor.
  const std::uint64_t every = std::max<std::uint64_t>(60, phase_.size() / 8);
  if (identified_ && added_ - identifiedAt_ < every) return;
  identified_ = true;
  identifiedAt_ = added_;
  const std::size_t n = phase_.size();
  NoiseType last = NoiseType::WFM;
  for (std::size_t k = 0; k < sums_.size(); ++k) {
    if (sums_[k].m > n / 4) break;
    const auto found = IdentifyNoiseAt(n, sums_[k].m, [this](std::size_t i) { return phase_[i].x; });
    if (found) last = *found;
    cache_[k].noise = last;
  }
}

StabilityResult IncrementalStability::result() const {
  StabilityResult r;
  const std::size_t n = phase_.size();
  identifyNoise();
  for (std::size_t k = 0; k < sums_.size(); ++k) {
    const Sums& s = sums_[k];
    if (s.m > n / 4) break;
    FactorCache& c = cache_[k];
    const FactorSums f{s.m, s.adev, s.mdev, s.hdev, s.adevTerms, s.mdevTerms, s.hdevTerms};
    AddPoints(r, f, n, tau0_, c.noise.value_or(NoiseType::WFM), c.adev, c.mdev, c.hdev);
  }
  return r;
}

}  // namespace halvix::analysis
