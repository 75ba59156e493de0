// The receiver's life on the clock: satellites rise and set, the survey runs
// to 100 % and holds, the alarms follow, and the timing outputs are noisy but sane.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "sim_harness.h"

namespace halvix::simtest {
namespace {

constexpr std::uint16_t kNoSatellites = 1u << 3;
constexpr std::uint16_t kSurveying = 1u << 5;
constexpr std::uint16_t kNoPosition = 1u << 6;
constexpr std::uint16_t kAlmanacIncomplete = 1u << 11;

Bytes LastAc(Harness& h) {
  const std::vector<Report> ac = h.reportsWith(0x8F, 0xAC);
  return ac.empty() ? Bytes{} : ac.back().payload;
}

TEST(SimState, SurveyRunsToCompletionThenHoldsItsPosition) {
  sim::SimOptions o;
  o.speed = 20.0;  // 2000 fixes in under two minutes of clock
  Harness h(o);
  h.run(3000);
  Bytes ac = LastAc(h);
  ASSERT_EQ(ac.size(), 68u);
  EXPECT_EQ(ac[3], 0);
  EXPECT_EQ(U16(ac, 10) & (kSurveying | kNoPosition | kAlmanacIncomplete),
            kSurveying | kNoPosition | kAlmanacIncomplete);

  int last = 0;
  for (int i = 0; i < 30; ++i) {
    h.run(5000);
    ac = LastAc(h);
    ASSERT_EQ(ac.size(), 68u);
    EXPECT_GE(ac[3], last) << "progress never goes back";
    last = ac[3];
  }
  EXPECT_EQ(last, 100);
  EXPECT_EQ(U16(ac, 10) & (kSurveying | kNoPosition | kNoSatellites), 0);
  ASSERT_TRUE(h.model().positionHeld());
  // The held position is the survey's mean: within metres of the antenna.
  const sim::SimOptions defaults;
  EXPECT_NEAR(F64(ac, 36), defaults.site.latitude, 2e-6);
  EXPECT_NEAR(F64(ac, 44), defaults.site.longitude, 2e-6);
  const double lat = F64(ac, 36), lon = F64(ac, 44);
  h.run(10'000);
  ac = LastAc(h);
  EXPECT_EQ(F64(ac, 36), lat) << "held, not moving";
  EXPECT_EQ(F64(ac, 44), lon);
  // Auto save put it in EEPROM: a reset comes back with it and no survey.
  EXPECT_TRUE(h.model().eeprom().position.has_value());
  h.send(0x25);
  h.run(5000);
  EXPECT_TRUE(h.model().positionHeld());
  EXPECT_EQ(LastAc(h)[3], 100);
}

TEST(SimState, SatellitesRiseAndSet) {
  sim::SimOptions o;
  o.speed = 50.0;
  Harness h(o);
  h.run(5000);
  std::set<int> seen;
  std::set<int> first;
  for (const auto& ch : h.model().tracker().channels())
    if (ch.sv != 0) first.insert(ch.sv);
  EXPECT_GE(first.size(), 6u);
  int sv = *first.begin();
  const double el0 = h.model().tracker().view(sv).elevation;
  // Three hours of sky.
  for (int i = 0; i < 216; ++i) {
    h.run(1000);
    for (const auto& ch : h.model().tracker().channels())
      if (ch.sv != 0) seen.insert(ch.sv);
  }
  EXPECT_GT(seen.size(), first.size() + 4) << "new satellites rose";
  std::set<int> now;
  for (const auto& ch : h.model().tracker().channels())
    if (ch.sv != 0) now.insert(ch.sv);
  int gone = 0;
  for (int s : first) gone += now.count(s) == 0;
  EXPECT_GT(gone, 0) << "some satellites set";
  EXPECT_NE(h.model().tracker().view(sv).elevation, el0);
  for (int s = 1; s <= 32; ++s) {
    const double el = h.model().tracker().view(s).elevation;
    EXPECT_GE(el, -1.5708);
    EXPECT_LE(el, 1.5708);
  }
}

TEST(SimState, SelectionSometimesFlagsASatelliteNotUsed) {
  Harness h;
  h.run(90'000);
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(200);
  int flagged = 0, polls = 0;
  for (int i = 0; i < 400; ++i) {
    const Report sel = h.ask(0x24, {}, 0x6D);
    ++polls;
    for (std::size_t k = 17; k < sel.payload.size(); ++k) flagged += static_cast<std::int8_t>(sel.payload[k]) < 0;
    h.run(1200);
  }
  EXPECT_GT(flagged, 0);
  EXPECT_EQ(polls, 400);
}

TEST(SimState, AlmanacAlarmClearsOnceTheAlmanacIsCollected) {
  Harness h;
  h.run(30'000);
  EXPECT_NE(h.model().minorAlarms() & kAlmanacIncomplete, 0);
  EXPECT_FALSE(h.model().systemData().almanacComplete());
  h.run(230'000);
  EXPECT_TRUE(h.model().systemData().almanacComplete());
  EXPECT_EQ(h.model().minorAlarms() & kAlmanacIncomplete, 0);
}

TEST(SimState, TimingOutputsAreNoisyButSettle) {
  Harness h;
  h.run(400'000);
  double sum = 0, sumSq = 0;
  std::set<float> distinct;
  const std::vector<Report> all = [&] {
    h.take();
    h.run(60'000);
    return h.reportsWith(0x8F, 0xAC);
  }();
  ASSERT_GE(all.size(), 59u);
  for (const Report& r : all) {
    const float pps = F32(r.payload, 16);
    const float q = F32(r.payload, 60);
    EXPECT_LE(std::fabs(q), 2.5f);
    sum += pps;
    sumSq += static_cast<double>(pps) * pps;
    distinct.insert(pps);
  }
  const double n = static_cast<double>(all.size());
  const double mean = sum / n, sd = std::sqrt(sumSq / n - mean * mean);
  EXPECT_LT(std::fabs(mean), 30.0);
  EXPECT_GT(sd, 0.5);
  EXPECT_LT(sd, 25.0);
  EXPECT_GT(distinct.size(), all.size() / 2);
}

TEST(SimState, SameSeedSameReceiver) {
  auto run = [](std::uint64_t seed) {
    sim::SimOptions o;
    o.seed = seed;
    Harness h(o);
    h.run(120'000);
    return h.rawTaken();
  };
  EXPECT_EQ(run(7), run(7));
  EXPECT_NE(run(7), run(8));
}

}  // namespace
}  // namespace halvix::simtest
