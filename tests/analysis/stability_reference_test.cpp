// The deviations against the published reference values (the nine-value
// frequency set integrated to ten phase points, and the 1000-point set of the
// minimal-standard generator), the intervals against independent approximate
// formulas for the degrees of freedom, the noise identification against
// synthetic noise, and the gap rule against series whose answer is known.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/confidence.h"
#include "analysis/stability.h"

using namespace halvix::analysis;

namespace {

const std::vector<double> kTenPoints = {0,          103.11111, 123.22222, 157.33333, 166.44444,
                                        48.55555,   -96.33333, -2.22222,  111.88889, 0};

// y[i] = n[i] / (2^31 - 1), n[i+1] = 16807 n[i] mod (2^31 - 1), integrated to phase.
std::vector<double> ThousandPointPhase() {
  std::vector<double> x = {0.0};
  std::uint64_t n = 1234567890;
  for (int i = 0; i < 1000; ++i) {
    x.push_back(x.back() + static_cast<double>(n) / 2147483647.0);
    n = n * 16807 % 2147483647;
  }
  return x;
}

const DeviationPoint& At(const std::vector<DeviationPoint>& points, double tau) {
  for (const DeviationPoint& p : points) {
    if (p.tau == tau) return p;
  }
  static const DeviationPoint none{-1, std::nan(""), 0};
  ADD_FAILURE() << "no point at tau " << tau;
  return none;
}

void ExpectRelative(double got, double want, const char* what, double tau) {
  EXPECT_NEAR(got / want, 1.0, 1e-4) << what << " at tau " << tau << ": " << got << " vs " << want;
}

}  // namespace

TEST(StabilityReference, TenPointPhaseSet) {
  const StabilityResult r = ComputeStability(kTenPoints);
  struct Case {
    double tau, adev, oadev, mdev, tdev, hdev, ohdev;
  } cases[] = {
      {1, 91.22945, 91.22945, 91.22945, 52.67135, 70.80608, 70.80607},
      {2, 115.8082, 85.95287, 74.78849, 86.35831, 116.7980, 85.61487},
  };
  for (const Case& c : cases) {
    const auto m = static_cast<std::size_t>(c.tau);
    ExpectRelative(NonOverlappingAdev(kTenPoints, m), c.adev, "ADEV", c.tau);
    ExpectRelative(At(r.adev, c.tau).value, c.oadev, "overlapping ADEV", c.tau);
    ExpectRelative(At(r.mdev, c.tau).value, c.mdev, "MDEV", c.tau);
    ExpectRelative(At(r.tdev, c.tau).value, c.tdev, "TDEV", c.tau);
    ExpectRelative(NonOverlappingHdev(kTenPoints, m), c.hdev, "HDEV", c.tau);
    ExpectRelative(At(r.hdev, c.tau).value, c.ohdev, "overlapping HDEV", c.tau);
  }
}

TEST(StabilityReference, ThousandPointFrequencySet) {
  const std::vector<double> x = ThousandPointPhase();
  const StabilityResult r = ComputeStability(x);
  struct Case {
    double tau, oadev, mdev, tdev, ohdev;
  } cases[] = {
      {1, 2.922319e-1, 2.922319e-1, 1.687202e-1, 2.943883e-1},
      {10, 9.159953e-2, 6.172376e-2, 3.563623e-1, 9.581083e-2},
      {100, 3.241343e-2, 2.170921e-2, 1.253382, 3.237638e-2},
  };
  for (const Case& c : cases) {
    ExpectRelative(At(r.adev, c.tau).value, c.oadev, "overlapping ADEV", c.tau);
    ExpectRelative(At(r.mdev, c.tau).value, c.mdev, "MDEV", c.tau);
    ExpectRelative(At(r.tdev, c.tau).value, c.tdev, "TDEV", c.tau);
    ExpectRelative(At(r.hdev, c.tau).value, c.ohdev, "overlapping HDEV", c.tau);
  }
  // The live accumulator holds the same figures, intervals included.
  IncrementalStability live(x.size());
  for (double v : x) live.add(v);
  const StabilityResult l = live.result();
  ASSERT_EQ(l.hdev.size(), r.hdev.size());
  for (std::size_t k = 0; k < r.hdev.size(); ++k) {
    EXPECT_NEAR(l.hdev[k].value / r.hdev[k].value, 1.0, 1e-9);
    EXPECT_NEAR(l.adev[k].low / r.adev[k].low, 1.0, 1e-9);
    EXPECT_NEAR(l.mdev[k].high / r.mdev[k].high, 1.0, 1e-9);
    EXPECT_EQ(l.hdev[k].noise, r.hdev[k].noise);
  }
}

TEST(StabilityReference, IntervalsBracketTheValueAndNarrowWithTerms) {
  std::mt19937_64 random(11);
  std::normal_distribution<double> gauss;
  std::vector<double> x(4000);
  double walk = 0;
  for (double& v : x) v = (walk += gauss(random));  // white frequency
  double lastWidth[4] = {10, 10, 10, 10};
  for (std::size_t n : {100, 400, 1000, 4000}) {
    const StabilityResult r = ComputeStability(std::span<const double>(x.data(), n));
    const std::vector<DeviationPoint>* lists[] = {&r.adev, &r.mdev, &r.tdev, &r.hdev};
    for (int k = 0; k < 4; ++k) {
      const DeviationPoint& p = At(*lists[k], 10);
      SCOPED_TRACE(testing::Message() << "list " << k << ", " << n << " points");
      EXPECT_LT(p.low, p.value);
      EXPECT_GT(p.high, p.value);
      EXPECT_GT(p.edf, 0);
      const double width = (p.high - p.low) / p.value;
      EXPECT_LT(width, lastWidth[k]);
      lastWidth[k] = width;
    }
  }
  // Within a table the interval widens with tau, as the terms thin out.
  const StabilityResult r = ComputeStability(x);
  for (std::size_t k = 1; k < r.adev.size(); ++k) {
    EXPECT_GT((r.adev[k].high - r.adev[k].low) / r.adev[k].value,
              (r.adev[k - 1].high - r.adev[k - 1].low) / r.adev[k - 1].value);
  }
}

TEST(StabilityReference, ChiSquaredQuantilesAreTheTabulatedOnes) {
  // With two degrees of freedom chi2 is exponential of mean 2: the q
  // quantile is -2 ln(1 - q).
  const IntervalFactors f = ChiSquaredInterval(2);
  EXPECT_NEAR(f.low, std::sqrt(2 / (-2 * std::log(1 - 0.8415))), 1e-9);
  EXPECT_NEAR(f.high, std::sqrt(2 / (-2 * std::log(1 - 0.1585))), 1e-9);
  // Many degrees of freedom: close to the normal approximation, +-1 sigma of
  // sqrt(2 / edf) in the variance.
  const IntervalFactors wide = ChiSquaredInterval(20'000);
  EXPECT_NEAR(wide.high - wide.low, std::sqrt(2.0 / 20'000), 1e-4);
  EXPECT_TRUE(std::isnan(ChiSquaredInterval(0).low));
  EXPECT_TRUE(std::isnan(ChiSquaredInterval(std::nan("")).high));
}

TEST(StabilityReference, DegreesOfFreedomAgreeWithTheSimpleFormulas) {
  // The approximate closed forms for the overlapping Allan variance, N phase
  // points, factor m; the general method must land close to them.
  const auto whitePhase = [](double n, double m) { return (n + 1) * (n - 2 * m) / (2 * (n - m)); };
  const auto whiteFrequency = [](double n, double m) {
    return (3 * (n - 1) / (2 * m) - 2 * (n - 2) / n) * 4 * m * m / (4 * m * m + 5);
  };
  const auto randomWalk = [](double n, double m) {
    return (n - 2) / m * ((n - 1) * (n - 1) - 3 * m * (n - 1) + 4 * m * m) / ((n - 3) * (n - 3));
  };
  struct Case {
    NoiseType noise;
    double n, m, tolerance;
  } cases[] = {
      {NoiseType::WPM, 1000, 1, 0.05},   {NoiseType::WPM, 1000, 10, 0.05},
      {NoiseType::WFM, 1000, 1, 0.05},   {NoiseType::WFM, 1000, 10, 0.05},
      {NoiseType::WFM, 10000, 200, 0.05}, {NoiseType::RWFM, 1000, 10, 0.1},
      {NoiseType::RWFM, 10000, 500, 0.1},
  };
  for (const Case& c : cases) {
    const double want = c.noise == NoiseType::WPM   ? whitePhase(c.n, c.m)
                        : c.noise == NoiseType::WFM ? whiteFrequency(c.n, c.m)
                                                    : randomWalk(c.n, c.m);
    const double got = EquivalentDegreesOfFreedom(c.noise, Estimator::Allan,
                                                  static_cast<std::size_t>(c.m),
                                                  static_cast<std::size_t>(c.n - 2 * c.m));
    EXPECT_NEAR(got / want, 1.0, c.tolerance)
        << NoiseName(c.noise) << " N " << c.n << " m " << c.m << ": " << got << " vs " << want;
  }
}

TEST(StabilityReference, DegreesOfFreedomStayContinuousWhereTheMethodChangesItsSums) {
  // The modified average turns from sample by sample to continuous above a
  // factor of 20, and the lag sums turn coarse above 1024 lags: a step there
  // would be an error of the approximation, not of the data.
  struct Case {
    Estimator estimator;
    std::size_t below, above;
  } cases[] = {
      {Estimator::Modified, 20, 21}, {Estimator::Allan, 341, 342}, {Estimator::Modified, 341, 342},
      {Estimator::Hadamard, 256, 257},
  };
  for (const Case& c : cases) {
    for (NoiseType noise : {NoiseType::WPM, NoiseType::FPM, NoiseType::WFM, NoiseType::FFM,
                            NoiseType::RWFM}) {
      const double lo = EquivalentDegreesOfFreedom(noise, c.estimator, c.below, 80'000);
      const double hi = EquivalentDegreesOfFreedom(noise, c.estimator, c.above, 80'000);
      // Degrees of freedom go roughly as 1/m here: compare edf * m.
      EXPECT_NEAR(hi * static_cast<double>(c.above) / (lo * static_cast<double>(c.below)), 1.0, 0.03)
          << NoiseName(noise) << " estimator " << static_cast<int>(c.estimator) << " m " << c.below;
    }
  }
  // At factor 1 the modified estimator is the Allan one.
  for (NoiseType noise : {NoiseType::WPM, NoiseType::WFM, NoiseType::RWFM}) {
    EXPECT_NEAR(EquivalentDegreesOfFreedom(noise, Estimator::Modified, 1, 5000),
                EquivalentDegreesOfFreedom(noise, Estimator::Allan, 1, 5000), 1e-6);
  }
}

TEST(StabilityReference, NoiseIsIdentifiedFromTheData) {
  std::mt19937_64 random(5);
  std::normal_distribution<double> gauss;
  const std::size_t n = 20'000;
  std::vector<double> whitePhase(n), whiteFrequency(n), randomWalk(n);
  double walk = 0;
  for (std::size_t i = 0; i < n; ++i) {
    whitePhase[i] = gauss(random);
    whiteFrequency[i] = (walk += gauss(random));
  }
  double frequency = 0, phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    frequency += gauss(random);
    randomWalk[i] = (phase += frequency);
  }
  struct Case {
    const std::vector<double>& x;
    NoiseType want;
  } cases[] = {{whitePhase, NoiseType::WPM}, {whiteFrequency, NoiseType::WFM},
               {randomWalk, NoiseType::RWFM}};
  for (const Case& c : cases) {
    for (std::size_t m : {1, 10, 100}) {
      const auto got = IdentifyNoise(c.x, m);
      ASSERT_TRUE(got.has_value());
      EXPECT_EQ(NoiseName(*got), NoiseName(c.want)) << "m " << m;
    }
    EXPECT_EQ(ComputeStability(c.x).adev[2].noise, c.want);
  }
  // Too few samples left to tell: nothing identified.
  EXPECT_FALSE(IdentifyNoise(whitePhase, n / 10).has_value());
}

TEST(StabilityReference, AGapStaysAGap) {
  // A constant frequency: every deviation is zero, unless the series were
  // closed up over the missing point, which would make a phase step.
  std::vector<double> x(200);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = 1e-9 * static_cast<double>(i);
  x[50] = std::nan("");
  const StabilityResult r = ComputeStability(x);
  struct Case {
    const std::vector<DeviationPoint>& points;
    double tau;
    std::size_t skipped, terms;
  } cases[] = {
      {r.adev, 1, 3, 198 - 3}, {r.adev, 2, 3, 196 - 3}, {r.mdev, 1, 3, 198 - 3},
      {r.mdev, 2, 6, 195 - 6}, {r.tdev, 5, 15, 186 - 15}, {r.hdev, 1, 4, 197 - 4},
      {r.hdev, 10, 4, 170 - 4},
  };
  for (const Case& c : cases) {
    const DeviationPoint& p = At(c.points, c.tau);
    EXPECT_EQ(p.skipped, c.skipped) << c.tau;
    EXPECT_EQ(p.terms, c.terms) << c.tau;
    EXPECT_LT(p.value, 1e-15) << c.tau;
  }

  // Live, the gap is counted the same way and leaves the window as it ages.
  IncrementalStability live(120);
  for (std::size_t i = 0; i < x.size(); ++i) {
    live.add(x[i]);
    if (i == 100) {
      EXPECT_EQ(live.gaps(), 1u);
      const StabilityResult l = live.result();
      const StabilityResult e = ComputeStability(std::span<const double>(x.data(), 101));
      for (std::size_t k = 0; k < e.mdev.size(); ++k) {
        EXPECT_EQ(l.mdev[k].skipped, e.mdev[k].skipped);
        EXPECT_EQ(l.hdev[k].terms, e.hdev[k].terms);
      }
    }
  }
  EXPECT_EQ(live.gaps(), 0u);
  EXPECT_EQ(live.result().adev[0].skipped, 0u);
  live.addGap(5);
  EXPECT_EQ(live.gaps(), 5u);
  EXPECT_EQ(live.result().hdev[0].skipped, 5u);  // the five terms that reach the gap
  live.addGap(500);  // longer than the window: nothing usable is left
  EXPECT_EQ(live.size(), 0u);
}

TEST(StabilityReference, AllTermsInGapsGiveNoValue) {
  std::vector<double> x(40, std::nan(""));
  x[0] = x[39] = 0;
  const StabilityResult r = ComputeStability(x);
  ASSERT_FALSE(r.adev.empty());
  EXPECT_TRUE(std::isnan(r.adev[0].value));
  EXPECT_TRUE(std::isnan(r.hdev[0].low));
  EXPECT_EQ(r.adev[0].terms, 0u);
  EXPECT_EQ(r.adev[0].skipped, 38u);
}
