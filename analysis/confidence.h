// How far a deviation can be trusted: the power-law noise type of a phase
// series at an averaging factor (lag-1 autocorrelation of the phase sampled
// at that factor, differenced until it is stationary), the equivalent degrees
// of freedom of an overlapping ADEV, MDEV or HDEV estimate for that noise
// (the general finite-difference method: the estimator's autocovariance summed
// over its lags), and the 68.3 % chi-squared interval that follows.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace halvix::analysis {

// Frequency-noise exponent alpha of S_y(f) ~ f^alpha: 2 white phase, 1
// flicker phase, 0 white frequency, -1 flicker frequency, -2 random-walk
// frequency, -3 flicker walk, -4 random run.
enum class NoiseType : int { WPM = 2, FPM = 1, WFM = 0, FFM = -1, RWFM = -2, FWFM = -3, RRFM = -4 };

std::string_view NoiseName(NoiseType noise);  // "WPM", "FPM", ...

// The noise of phase series x (NaN marks a missing point) sampled every m
// points; nothing when fewer than kMinNoisePoints usable samples remain.
inline constexpr std::size_t kMinNoisePoints = 30;
std::optional<NoiseType> IdentifyNoise(std::span<const double> x, std::size_t m);
// The same from any indexed source of phase points, so a ring needs no copy.
template <typename PhaseAt>
std::optional<NoiseType> IdentifyNoiseAt(std::size_t n, std::size_t m, PhaseAt phaseAt);

enum class Estimator { Allan, Modified, Hadamard };  // all overlapping

// The estimator's equivalent degrees of freedom at factor m over `terms`
// squared differences. Noise the estimator cannot converge on is taken as
// the nearest it can (random-walk frequency for Allan and modified).
double EquivalentDegreesOfFreedom(NoiseType noise, Estimator estimator, std::size_t m,
                                  std::size_t terms);

// A deviation's interval as factors of the deviation: a chi-squared variable
// of edf degrees of freedom lies between its 15.85 % and 84.15 % quantiles
// with probability 0.683. NaN for an edf that is not positive.
struct IntervalFactors {
  double low = 0;
  double high = 0;
};
IntervalFactors ChiSquaredInterval(double edf);

namespace detail {
std::vector<double>& NoiseScratch();
std::optional<NoiseType> IdentifySampled(std::vector<double>& z);
}  // namespace detail

template <typename PhaseAt>
std::optional<NoiseType> IdentifyNoiseAt(std::size_t n, std::size_t m, PhaseAt phaseAt) {
  if (m == 0) return std::nullopt;
  std::vector<double>& z = detail::NoiseScratch();
  z.clear();
  for (std::size_t i = 0; i < n; i += m) z.push_back(phaseAt(i));
  return detail::IdentifySampled(z);
}

}  // namespace halvix::analysis
