// The chart history: the ring keeps the newest samples in order across the
// wrap, decimation keeps every extreme within two points per pixel column,
// the stability input bridges short outages and restarts after long ones, and
// the sky keeps what the satellite reports say.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "analysis/decimate.h"
#include "analysis/ring_buffer.h"
#include "analysis/sky_track.h"
#include "analysis/timing_history.h"

using namespace halvix::analysis;

TEST(RingBufferTest, WrapsKeepingTheNewestInOrder) {
  struct Case {
    std::size_t capacity, pushed;
  } cases[] = {{5, 3}, {5, 5}, {5, 6}, {5, 13}, {1, 4}};
  for (const Case& c : cases) {
    RingBuffer<int> ring(c.capacity);
    for (std::size_t i = 0; i < c.pushed; ++i) ring.push(static_cast<int>(i));
    const std::size_t held = std::min(c.capacity, c.pushed);
    ASSERT_EQ(ring.size(), held);
    for (std::size_t i = 0; i < held; ++i) {
      EXPECT_EQ(ring[i], static_cast<int>(c.pushed - held + i)) << c.pushed << " at " << i;
    }
    EXPECT_EQ(ring.back(), static_cast<int>(c.pushed - 1));
  }
}

TEST(DecimateTest, ADayInAFewColumnsKeepsEverySpike) {
  RingBuffer<TimingSample> day(86'400);
  for (int t = 0; t < 86'400; ++t) day.push({double(t), 0.1f * float(t % 7), 0, 0, 0, 0, 0});
  // One-second spikes either way, deep inside columns.
  const std::vector<std::pair<int, float>> spikes = {{12'345, 90.f}, {12'346, -80.f}, {70'001, 55.f}};
  RingBuffer<TimingSample> spiked(86'400);
  for (std::size_t i = 0; i < day.size(); ++i) {
    TimingSample s = day[i];
    for (auto [t, v] : spikes) {
      if (int(s.t) == t) s.ppsOffset = v;
    }
    spiked.push(s);
  }
  const auto time = [](const TimingSample& s) { return s.t; };
  const auto pps = [](const TimingSample& s) { return s.ppsOffset; };
  for (int width : {1280, 300, 7}) {
    const QList<QPointF> points = DecimateMinMax(spiked, time, pps, 0, 86'400, width);
    EXPECT_LE(points.size(), 2 * width);
    for (auto [t, v] : spikes) {
      EXPECT_TRUE(std::any_of(points.begin(), points.end(),
                              [&](const QPointF& p) { return p.x() == t && p.y() == v; }))
          << "spike at " << t << " lost at width " << width;
    }
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
  }
  // A view narrow in time gets every sample, scaled.
  const QList<QPointF> all = DecimateMinMax(day, time, pps, 100, 199, 1280, 1.0 / 60);
  ASSERT_EQ(all.size(), 100);
  EXPECT_DOUBLE_EQ(all.front().x(), 100.0 / 60);
}

TEST(DecimateTest, AnAlarmOfOneSecondMarksItsColumn) {
  RingBuffer<TimingSample> s(1000);
  for (int t = 0; t < 1000; ++t) {
    s.push({double(t), 0, 0, 0, static_cast<std::uint16_t>(t == 501 ? 0x0008 : 0), 0, 0});
  }
  const std::vector<std::uint16_t> columns =
      ColumnBits(s, [](const TimingSample& x) { return x.t; },
                 [](const TimingSample& x) { return x.alarms; }, 0, 1000, 10);
  EXPECT_EQ(columns, (std::vector<std::uint16_t>{0, 0, 0, 0, 0, 8, 0, 0, 0, 0}));
}

TEST(DecimateTest, ASparseAlarmHoldsUntilTheNextReport) {
  // Reports every second but one outage, drawn over ten columns a second.
  RingBuffer<TimingSample> s(100);
  for (double t : {0.0, 1.0, 2.0, 3.0, 4.0, 20.0, 21.0}) {
    const bool alarm = t == 2.0 || t == 4.0 || t == 21.0;
    s.push({t, 0, 0, 0, static_cast<std::uint16_t>(alarm ? 0x0002 : 0), 0, 0});
  }
  const auto time = [](const TimingSample& x) { return x.t; };
  const auto bits = [](const TimingSample& x) { return x.alarms; };
  const auto marked = [](const std::vector<std::uint16_t>& columns) {
    std::vector<int> out;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (columns[c] != 0) out.push_back(static_cast<int>(c));
    }
    return out;
  };
  // 2 s holds to 3 s; 4 s is followed by an outage and marks its own column;
  // 21 s is the newest and marks its own.
  EXPECT_EQ(marked(ColumnBits(s, time, bits, 0, 25, 250, 10)),
            (std::vector<int>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 40, 210}));
  // Seen from 2.5 s, the alarm of 2 s still holds into the view.
  EXPECT_EQ(marked(ColumnBits(s, time, bits, 2.5, 3.5, 10, 10)),
            (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(marked(ColumnBits(s, time, bits, 0, 25, 250)),
            (std::vector<int>{20, 40, 210})) << "without holding, each report its column";
}

TEST(TimingHistoryTest, TheStabilityInputIsOneSamplePerSecond) {
  struct Case {
    const char* name;
    std::vector<double> times;
    std::size_t phasePoints, gaps;
    int restarts;
  } cases[] = {
      {"steady, with jitter", {0, 1.2, 2.0, 2.8, 4.1}, 5, 0, 0},
      {"two missing seconds stay a gap", {0, 1, 4, 5}, 6, 2, 0},
      {"a repeated second is charted, not analysed", {0, 1, 1.1, 2}, 3, 0, 0},
      {"a long outage stays a gap, not closed up", {0, 1, 2, 60, 61}, 62, 57, 0},
      {"a longer outage than the window empties it", {0, 1, 2, 300, 301}, 2, 0, 0},
      {"time going back starts again", {10, 11, 12, 3, 4}, 2, 0, 1},
      {"an outage of more than a day starts again", {0, 1, 2, 90'000, 90'001}, 2, 0, 1},
  };
  for (const Case& c : cases) {
    TimingHistory h(100);
    for (double t : c.times) h.addTiming(t, float(t), 0, 0.5f, 0);
    EXPECT_EQ(h.timing().size(), c.times.size()) << c.name;
    EXPECT_EQ(h.stability(false).size(), c.phasePoints) << c.name;
    EXPECT_EQ(h.stability(true).size(), c.phasePoints) << c.name;
    EXPECT_EQ(h.stabilityGaps(), c.gaps) << c.name;
    EXPECT_EQ(h.stabilityRestarts(), c.restarts) << c.name;
  }
}

TEST(TimingHistoryTest, AReadsReportsAreChartedAtTheSecondsAfterTheLast) {
  const struct {
    const char* name;
    double last, read, charted;
  } cases[] = {
      {"the next second", 10, 11, 11},
      {"three reports read at once", 10, 13, 11},
      {"a silence the charts bridge", 10, 10 + TimingHistory::kMaxBridgedSeconds, 11},
      {"a longer silence is an outage", 10, 11 + TimingHistory::kMaxBridgedSeconds,
       11 + TimingHistory::kMaxBridgedSeconds},
      {"time going back", 10, 4, 4},
  };
  for (const auto& c : cases) {
    TimingHistory h(10);
    EXPECT_EQ(h.streamSecond(c.last), c.last) << "nothing charted yet";
    h.addTiming(c.last, 0, 0, 0, 0);
    EXPECT_EQ(h.streamSecond(c.read), c.charted) << c.name;
  }
}

TEST(TimingHistoryTest, TheQuantizationCorrectionRemovesTheSawtooth) {
  // A clean PPS seen through a sawtooth the receiver reports: corrected, flat.
  TimingHistory h(1000);
  for (int t = 0; t < 1000; ++t) {
    const float saw = float((t * 37) % 11) - 5.0f;
    h.addTiming(t, 2.0f + saw, 0, saw, 0);
  }
  const StabilityResult raw = h.stability(false).result();
  const StabilityResult corrected = h.stability(true).result();
  ASSERT_FALSE(raw.adev.empty());
  EXPECT_GT(raw.adev.front().value, 1e-9);
  EXPECT_LT(corrected.adev.front().value, 1e-15);
}

TEST(SkyTrackTest, KeepsPositionsSelectionAndTrails) {
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  SkyTrack sky;
  const std::int8_t selection[] = {5, -9, 12};
  sky.select(selection);
  for (int i = 0; i < 100; ++i) {
    sky.track(5, (100.0 + i) * kRad, 40 * kRad, 12.5, i * 1000);
    sky.track(9, -30 * kRad, 10 * kRad, 3.0, i * 1000);
  }
  sky.track(7, 0, 80 * kRad, 8.0, 50'000);
  ASSERT_EQ(sky.trackedCount(), 3);
  EXPECT_EQ(sky.usedCount(), 2);
  const SkySatellite& five = sky.satellites().at(5);
  EXPECT_TRUE(five.used);
  EXPECT_NEAR(five.position.azimuthDeg, 199.0, 1e-9);
  EXPECT_EQ(five.trail.size(), SkyTrack::kTrailLength);
  EXPECT_NEAR(sky.satellites().at(9).position.azimuthDeg, 330.0, 1e-9);
  EXPECT_FALSE(sky.satellites().at(9).used) << "flagged as not used";
  EXPECT_TRUE(sky.satellites().at(9).trail.empty()) << "it did not move";

  // Not yet placed (azimuth and elevation 0), then placed, then risen elsewhere.
  sky.track(3, 0, 0, 1.0, 99'000);
  sky.track(3, 90 * kRad, 5 * kRad, 1.0, 99'000);
  EXPECT_TRUE(sky.satellites().at(3).trail.empty()) << "no trail from the unknown position";
  EXPECT_TRUE(sky.satellites().at(3).positionKnown);
  sky.track(3, 91 * kRad, 5 * kRad, 1.0, 99'000);
  sky.track(3, 250 * kRad, 5 * kRad, 1.0, 99'000);
  EXPECT_TRUE(sky.satellites().at(3).trail.empty()) << "a jump starts a new trail";
  sky.track(3, 0, 0, 1.0, 99'000);
  EXPECT_FALSE(sky.satellites().at(3).positionKnown);
  sky.expire(99'000 + SkyTrack::kStaleMs);
  EXPECT_EQ(sky.trackedCount(), 3) << "7 was last reported at 50 s";
  // A satellite reported often moves little between reports: the moves add up.
  for (int i = 0; i < 100; ++i) sky.track(2, (60.0 + 0.05 * i) * kRad, 30 * kRad, 9.0, 99'000);
  EXPECT_EQ(sky.satellites().at(2).trail.size(), 8u) << "a point every half degree of 5";
  const std::int8_t none[] = {-5};
  sky.select(none);
  EXPECT_FALSE(sky.satellites().at(5).used);
}
