// The three deviations against values worked independently: a short series
// by hand, the slopes of the classic noise types, and a linear frequency drift
// whose deviations are known in closed form. The live accumulator must agree
// with the computation from scratch, also after its window has wrapped.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/stability.h"

using namespace halvix::analysis;

namespace {

const DeviationPoint* At(const std::vector<DeviationPoint>& points, double tau) {
  for (const DeviationPoint& p : points) {
    if (p.tau == tau) return &p;
  }
  return nullptr;
}

// Least-squares slope of log(dev) against log(tau) between two taus.
double LogSlope(const std::vector<DeviationPoint>& points, double fromTau, double toTau) {
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int n = 0;
  for (const DeviationPoint& p : points) {
    if (p.tau < fromTau || p.tau > toTau) continue;
    const double lx = std::log10(p.tau), ly = std::log10(p.value);
    sx += lx, sy += ly, sxx += lx * lx, sxy += lx * ly;
    ++n;
  }
  return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

}  // namespace

TEST(StabilityTest, AShortSeriesWorkedByHand) {
  // Ten phase points. Factor 1: second differences -3 3 -3 4 -4 1 2 -1, squares
  // sum 65 over 8 terms. Factor 2: differences 0 1 1 -3 0 4 (sum of squares 27,
  // 6 terms); pairwise sums 1 2 -2 -3 4 (squares 34, 5 terms).
  const std::vector<double> x = {0, 2, 1, 3, 2, 5, 4, 4, 6, 7};
  const StabilityResult r = ComputeStability(x, 1.0);
  ASSERT_EQ(r.adev.size(), 2u);
  struct Case {
    const std::vector<DeviationPoint>& points;
    double tau, value;
    std::size_t terms;
  } cases[] = {
      {r.adev, 1, std::sqrt(65.0 / (2 * 8)), 8},
      {r.adev, 2, std::sqrt(27.0 / (2 * 6 * 4)), 6},
      {r.mdev, 1, std::sqrt(65.0 / (2 * 8)), 8},
      {r.mdev, 2, std::sqrt(34.0 / (2 * 4 * 4 * 5)), 5},
      {r.tdev, 1, std::sqrt(65.0 / (2 * 8)) / std::sqrt(3.0), 8},
      {r.tdev, 2, 2 / std::sqrt(3.0) * std::sqrt(34.0 / (2 * 4 * 4 * 5)), 5},
  };
  for (const Case& c : cases) {
    const DeviationPoint* p = At(c.points, c.tau);
    ASSERT_NE(p, nullptr) << c.tau;
    EXPECT_NEAR(p->value, c.value, 1e-12) << c.tau;
    EXPECT_EQ(p->terms, c.terms) << c.tau;
    EXPECT_DOUBLE_EQ(p->errorFraction(), 1.0 / std::sqrt(static_cast<double>(c.terms)));
  }
}

TEST(StabilityTest, FactorsRunOneTwoFiveToAQuarterOfTheSeries) {
  EXPECT_EQ(OneTwoFiveFactors(86'400 / 4),
            (std::vector<std::size_t>{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000,
                                      10000, 20000}));
  const std::vector<double> x(19, 0.0);  // 19 / 4 = 4: factors 1 and 2 only
  EXPECT_EQ(ComputeStability(x).adev.size(), 2u);
  EXPECT_TRUE(ComputeStability(std::vector<double>(3, 0.0)).adev.empty());
}

TEST(StabilityTest, LinearFrequencyDriftHasItsClosedForm) {
  // Phase 0.5 D t^2: ADEV = MDEV = D tau / sqrt 2, TDEV = D tau^2 / sqrt 6.
  const double drift = 1e-12;
  std::vector<double> x(400);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = 0.5 * drift * double(i) * double(i);
  const StabilityResult r = ComputeStability(x);
  ASSERT_FALSE(r.adev.empty());
  for (std::size_t k = 0; k < r.adev.size(); ++k) {
    const double tau = r.adev[k].tau;
    EXPECT_NEAR(r.adev[k].value / (drift * tau / std::sqrt(2.0)), 1.0, 1e-9) << tau;
    EXPECT_NEAR(r.mdev[k].value / (drift * tau / std::sqrt(2.0)), 1.0, 1e-9) << tau;
    EXPECT_NEAR(r.tdev[k].value / (drift * tau * tau / std::sqrt(6.0)), 1.0, 1e-9) << tau;
  }
}

TEST(StabilityTest, NoiseTypesGiveTheirSlopes) {
  std::mt19937_64 random(7);
  std::normal_distribution<double> gauss(0.0, 1e-9);
  const std::size_t n = 20'000;
  std::vector<double> whitePhase(n), whiteFrequency(n);
  double walk = 0;
  for (std::size_t i = 0; i < n; ++i) {
    whitePhase[i] = gauss(random);
    walk += gauss(random);
    whiteFrequency[i] = walk;
  }
  const StabilityResult pm = ComputeStability(whitePhase);
  const StabilityResult fm = ComputeStability(whiteFrequency);
  struct Case {
    const char* name;
    const std::vector<DeviationPoint>& points;
    double slope;
  } cases[] = {
      {"white phase ADEV", pm.adev, -1.0},   {"white phase MDEV", pm.mdev, -1.5},
      {"white phase TDEV", pm.tdev, -0.5},   {"white frequency ADEV", fm.adev, -0.5},
      {"white frequency MDEV", fm.mdev, -0.5}, {"white frequency TDEV", fm.tdev, 0.5},
  };
  for (const Case& c : cases) {
    // Up to tau 100 the estimates have thousands of terms; MDEV settles from tau 10.
    EXPECT_NEAR(LogSlope(c.points, 10, 500), c.slope, 0.12) << c.name;
  }
  EXPECT_NEAR(LogSlope(pm.adev, 1, 500), -1.0, 0.12);
}

TEST(StabilityTest, LiveUpdatesMatchTheComputationFromScratch) {
  std::mt19937_64 random(3);
  std::normal_distribution<double> gauss(0.0, 2e-9);
  struct Case {
    std::size_t capacity, pushed;
  } cases[] = {{200, 120}, {200, 200}, {200, 1234}, {40, 41}};
  for (const Case& c : cases) {
    IncrementalStability live(c.capacity);
    std::vector<double> all;
    double walk = 5e-6;  // a large constant offset must not cost precision
    for (std::size_t i = 0; i < c.pushed; ++i) {
      walk += gauss(random);
      const double x = walk + gauss(random);
      all.push_back(x);
      live.add(x);
    }
    const std::size_t held = std::min(c.capacity, c.pushed);
    ASSERT_EQ(live.size(), held);
    const std::vector<double> window(all.end() - static_cast<std::ptrdiff_t>(held), all.end());
    const StabilityResult expected = ComputeStability(window);
    const StabilityResult got = live.result();
    const std::pair<const std::vector<DeviationPoint>*, const std::vector<DeviationPoint>*> kinds[] =
        {{&got.adev, &expected.adev}, {&got.mdev, &expected.mdev}, {&got.tdev, &expected.tdev}};
    for (const auto& [g, e] : kinds) {
      ASSERT_EQ(g->size(), e->size()) << c.pushed;
      for (std::size_t k = 0; k < e->size(); ++k) {
        EXPECT_EQ((*g)[k].terms, (*e)[k].terms);
        EXPECT_NEAR((*g)[k].value / (*e)[k].value, 1.0, 1e-6) << c.pushed << " tau " << (*e)[k].tau;
      }
    }
  }
}
