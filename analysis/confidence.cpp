#include "analysis/confidence.h"

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <limits>

namespace halvix::analysis {

std::string_view NoiseName(NoiseType noise) {
  switch (noise) {
    case NoiseType::WPM: return "WPM";
    case NoiseType::FPM: return "FPM";
    case NoiseType::WFM: return "WFM";
    case NoiseType::FFM: return "FFM";
    case NoiseType::RWFM: return "RWFM";
    case NoiseType::FWFM: return "FWFM";
    case NoiseType::RRFM: return "RRFM";
  }
  return "?";
}

namespace detail {

std::vector<double>& NoiseScratch() {
  thread_local std::vector<double> scratch;
  return scratch;
}

namespace {

// Removes the least-squares quadratic (a frequency offset and drift, which
// are not noise) from the usable points.
void RemoveQuadratic(std::vector<double>& z) {
  long double s[5] = {}, b[3] = {};
  for (std::size_t i = 0; i < z.size(); ++i) {
    if (!std::isfinite(z[i])) continue;
    const long double t = static_cast<long double>(i), v = z[i];
    long double p = 1;
    for (int k = 0; k < 5; ++k, p *= t) {
      s[k] += p;
      if (k < 3) b[k] += p * v;
    }
  }
  // Normal equations, solved by Gaussian elimination with partial pivoting.
  long double a[3][4] = {{s[0], s[1], s[2], b[0]}, {s[1], s[2], s[3], b[1]}, {s[2], s[3], s[4], b[2]}};
  for (int c = 0; c < 3; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 3; ++r) {
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    }
    if (a[pivot][c] == 0) return;
    std::swap(a[c], a[pivot]);
    for (int r = 0; r < 3; ++r) {
      if (r == c) continue;
      const long double f = a[r][c] / a[c][c];
      for (int k = c; k < 4; ++k) a[r][k] -= f * a[c][k];
    }
  }
  const long double c0 = a[0][3] / a[0][0], c1 = a[1][3] / a[1][1], c2 = a[2][3] / a[2][2];
  for (std::size_t i = 0; i < z.size(); ++i) {
    const long double t = static_cast<long double>(i);
    z[i] = static_cast<double>(z[i] - (c0 + c1 * t + c2 * t * t));
  }
}

// Lag-1 autocorrelation over the pairs of usable neighbours.
std::optional<double> LagOne(const std::vector<double>& z) {
  long double sum = 0;
  std::size_t n = 0;
  for (double v : z) {
    if (std::isfinite(v)) sum += v, ++n;
  }
  if (n < 3) return std::nullopt;
  const long double mean = sum / static_cast<long double>(n);
  long double num = 0, den = 0;
  for (std::size_t i = 0; i < z.size(); ++i) {
    if (!std::isfinite(z[i])) continue;
    const long double d = z[i] - mean;
    den += d * d;
    if (i + 1 < z.size() && std::isfinite(z[i + 1])) num += d * (z[i + 1] - mean);
  }
  if (!(den > 0)) return std::nullopt;
  return static_cast<double>(num / den);
}

}  // namespace

std::optional<NoiseType> IdentifySampled(std::vector<double>& z) {
  const auto usable = static_cast<std::size_t>(
      std::count_if(z.begin(), z.end(), [](double v) { return std::isfinite(v); }));
  if (usable < kMinNoisePoints) return std::nullopt;
  RemoveQuadratic(z);
  // Difference until the lag-1 autocorrelation says stationary; each
  // difference lowers alpha by two.
  constexpr int kMaxDifferences = 3;
  for (int d = 0;; ++d) {
    const std::optional<double> r1 = LagOne(z);
    if (!r1) return std::nullopt;
    const double delta = *r1 / (1.0 + *r1);
    if (delta < 0.25 || d >= kMaxDifferences) {
      const long alpha = 2 - std::lround(2.0 * delta) - 2L * d;
      return static_cast<NoiseType>(std::clamp(alpha, -4L, 2L));
    }
    for (std::size_t i = 0; i + 1 < z.size(); ++i) z[i] = z[i + 1] - z[i];
    z.pop_back();
  }
}

}  // namespace detail

std::optional<NoiseType> IdentifyNoise(std::span<const double> x, std::size_t m) {
  return IdentifyNoiseAt(x.size(), m, [x](std::size_t i) { return x[i]; });
}

namespace {

// Generalised autocovariance of a power-law phase process, up to a factor,
// at lag t (in units of tau).
long double Sw(long double t, int alpha) {
  const long double a = std::fabs(t);
  const long double logA = a == 0 ? 0 : std::log(a);
  switch (alpha) {
    case 2: return -a;
    case 1: return t * t * logA;
    case 0: return a * a * a;
    case -1: return t * t * t * t * logA;
    case -2: return a * a * a * a * a;
    case -3: return t * t * t * t * t * t * logA;
    default: return a * a * a * a * a * a * a;
  }
}

// The phase averaged over tau / f (f = 0: not averaged).
long double Sx(long double t, long double f, int alpha) {
  if (f == 0) return Sw(t, alpha + 2);
  return f * f * (2 * Sw(t, alpha) - Sw(t - 1 / f, alpha) - Sw(t + 1 / f, alpha));
}

constexpr long double kBinomial[4][4] = {
    {1, 0, 0, 0}, {2, 1, 0, 0}, {6, 4, 1, 0}, {20, 15, 6, 1}};  // C(2d, d+k)

long double Coefficient(int d, int k) {
  return (k % 2 == 0 ? 1 : -1) * kBinomial[d][k < 0 ? -k : k];
}

// Lags summed exactly up to this many; beyond, the sum is taken on a coarser
// grid (the terms are then a smooth function of lag / tau).
constexpr std::size_t kMaxLags = 1024;
// The modified estimator's average of m samples is taken sample by sample up
// to this factor, and as a continuous average over tau above it.
constexpr std::size_t kDiscreteAverage = 20;

}  // namespace

double EquivalentDegreesOfFreedom(NoiseType noise, Estimator estimator, std::size_t m,
                                  std::size_t terms) {
  if (m == 0 || terms == 0) return 0;
  const int d = estimator == Estimator::Hadamard ? 3 : 2;
  // The variance exists only for alpha > 1 - 2d.
  const int alpha = std::max(static_cast<int>(noise), 2 - 2 * d);
  const bool modified = estimator == Estimator::Modified;
  const long double md = static_cast<long double>(m);
  const long double M = static_cast<long double>(terms);
  const std::size_t lags = std::min<std::size_t>(terms, (static_cast<std::size_t>(d) + 1) * m);
  const auto weight = [&](long double lag) { return std::max(0.0L, 1 - lag / M); };

  // Autocovariance of the phase samples at a lag of k samples: frequency
  // noise as sampled; phase noise seen through one sample's bandwidth.
  const auto sample = [&](long long k) -> long double {
    if (alpha == 2) return k == 0 ? 1 : 0;
    const long double t = static_cast<long double>(k) / md;
    return alpha == 1 ? Sx(t, md, 1) : Sw(t, alpha + 2);
  };
  // ... and of what the estimator differences: the sample, or the average
  // of m samples for the modified estimator.
  const auto phase = [&](long long k) -> long double {
    if (!modified) return sample(k);
    if (m > kDiscreteAverage) return Sx(static_cast<long double>(k) / md, 1, alpha);
    const auto mi = static_cast<long long>(m);
    long double s = 0;
    for (long long i = 1 - mi; i < mi; ++i) s += static_cast<long double>(mi - (i < 0 ? -i : i)) * sample(k + i);
    return s / (md * md);
  };
  // The estimator's terms, d-th differences at spacing m, at lag j samples.
  const auto term = [&](long long j) {
    long double s = 0;
    for (int k = -d; k <= d; ++k) s += Coefficient(d, k) * phase(j + k * static_cast<long long>(m));
    return s;
  };
  // Sum over all lags of (1 - |j|/M) R(j)^2, the last lag standing once (its
  // weight or its term is zero).
  long double sum = 0;
  const long double r0 = term(0);
  if (alpha == 2 && !modified) {
    // White phase seen sample by sample: only lags of whole taus correlate.
    for (int l = 0; l <= d && static_cast<std::size_t>(l) * m <= lags; ++l) {
      const long double r = Coefficient(d, l);
      sum += (l == 0 ? 1 : 2) * weight(static_cast<long double>(l) * md) * r * r;
    }
    sum *= r0 * r0 / (kBinomial[d][0] * kBinomial[d][0]);
  } else if (lags <= kMaxLags) {
    for (std::size_t j = 0; j <= lags; ++j) {
      const long double r = term(static_cast<long long>(j));
      sum += (j == 0 || j == lags ? 1 : 2) * weight(static_cast<long double>(j)) * r * r;
    }
  } else {
    // Trapezoid over u = lag / tau in steps of 1 / nodes, scaled back to the
    // lags it stands for; m is large here, so the continuous forms hold.
    const auto continuous = [&](long double t) {
      if (modified) return Sx(t, 1, alpha);
      return alpha == 1 ? Sx(t, md, 1) : Sw(t, alpha + 2);
    };
    const auto termAt = [&](long double u) {
      long double s = 0;
      for (int k = -d; k <= d; ++k) s += Coefficient(d, k) * continuous(u + k);
      return s;
    };
    const long double nodes = static_cast<long double>(kMaxLags / static_cast<std::size_t>(d + 1));
    const auto last = static_cast<std::size_t>(std::floor(static_cast<long double>(lags) / md * nodes));
    long double t = 0;
    for (std::size_t k = 0; k <= last; ++k) {
      const long double u = static_cast<long double>(k) / nodes;
      const long double r = termAt(u);
      t += (k == 0 || k == last ? 0.5L : 1.0L) * weight(u * md) * r * r;
    }
    const long double c0 = termAt(0);
    // In units of the exact zero-lag term.
    sum = 2 * t * md / nodes * (r0 * r0) / (c0 * c0);
  }
  if (!(sum > 0) || !(r0 * r0 > 0)) return 0;
  return static_cast<double>(M * r0 * r0 / sum);
}

IntervalFactors ChiSquaredInterval(double edf) {
  using namespace boost::math::policies;
  using Policy = policy<domain_error<ignore_error>, overflow_error<ignore_error>,
                        evaluation_error<ignore_error>>;
  if (!(edf > 0) || !std::isfinite(edf)) {
    return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
  }
  const boost::math::chi_squared_distribution<double, Policy> chi(edf);
  constexpr double kConfidence = 0.683;
  const double upper = boost::math::quantile(chi, 0.5 + kConfidence / 2);
  const double lower = boost::math::quantile(chi, 0.5 - kConfidence / 2);
  return {std::sqrt(edf / upper), std::sqrt(edf / lower)};
}

}  // namespace halvix::analysis
