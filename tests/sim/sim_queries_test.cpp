// Every query the catalogue names is answered with its report, at its id,
// sub-code and exact payload length, and the fields say what the receiver holds.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/persona.h"
#include "sim_harness.h"

namespace halvix::simtest {
namespace {

// Power-on of the default run: 2024-03-10 12:00:00 UTC, 12:00:18 GPS, a Sunday
// that starts GPS week 2305.
constexpr int kStartWeek = 2305;
constexpr std::int64_t kStartTow = 12 * 3600 + 18;

struct Case {
  const char* name;
  std::uint8_t id;
  Bytes payload;
  std::uint8_t answerId;
  std::optional<std::uint8_t> sub;
  std::size_t length;
};

class SettledReceiver : public ::testing::Test {
 protected:
  void SetUp() override {
    // Long enough to have time, satellites, UTC data and a complete almanac.
    h.run(240'000);
    // Without the periodic reports every answer below is the only one of its kind.
    h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
    h.run(200);
    h.take();
  }
  std::int64_t elapsedSeconds() { return (h.clock().nowMs() - 1000) / 1000; }
  Harness h;
};

TEST_F(SettledReceiver, EveryFixedQueryIsAnsweredWithItsReportAtItsLength) {
  const std::vector<Case> cases = {
      {"software version", 0x1F, {0x00, 0x00}, 0x45, {}, 96},
      {"time", 0x21, {}, 0x41, {}, 10},
      {"almanac health", 0x29, {}, 0x49, {}, 32},
      {"altitude", 0x2A, {}, 0x4A, {}, 9},
      {"UTC parameters", 0x2F, {}, 0x4F, {}, 26},
      {"I/O options", 0x35, {}, 0x55, {}, 4},
      {"segment status", 0x3F, {0x11}, 0x5F, 0x11, 3},
      {"NMEA output", 0x7A, {0x00}, 0x7B, {}, 6},
      {"receiver configuration", 0xBB, {0x00}, 0xBB, {}, 43},
      {"comprehensive time", 0x8E, {0x0B}, 0x8F, 0x0B, 74},
      {"datum", 0x8E, {0x15}, 0x8F, 0x15, 43},
      {"manufacturing", 0x8E, {0x41}, 0x8F, 0x41, 17},
      {"production", 0x8E, {0x42}, 0x8F, 0x42, 19},
      {"PPS characteristics", 0x8E, {0x4A}, 0x8F, 0x4A, 16},
      {"survey limit", 0x8E, {0x4B}, 0x8F, 0x4B, 5},
      {"automatic output mask", 0x8E, {0x4D}, 0x8F, 0x4D, 5},
      {"PPS output", 0x8E, {0x4E}, 0x8F, 0x4E, 2},
      {"PPS width", 0x8E, {0x4F}, 0x8F, 0x4F, 9},
      {"broadcast mask", 0x8E, {0xA5}, 0x8F, 0xA5, 5},
      {"self-survey parameters", 0x8E, {0xA9}, 0x8F, 0xA9, 11},
      {"primary UTC time", 0x8E, {0xAD}, 0x8F, 0xAD, 22},
      {"almanac of SV 16", 0x20, {16}, 0x40, {}, 39},
      {"raw measurement", 0x3A, {5}, 0x5A, {}, 25},
      {"ephemeris status", 0x3B, {5}, 0x5B, {}, 16},
      {"serial port A", 0xBC, {0x00}, 0xBC, {}, 10},
      {"serial port B", 0xBC, {0x01}, 0xBC, {}, 10},
      {"health page data", 0x38, {0x01, 0x03, 0x00}, 0x58, {}, 4 + 34},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Report> answers = h.query(c.id, c.payload);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].id, c.answerId);
    if (c.sub) {
      EXPECT_EQ(answers[0].sub(), *c.sub);
    }
    EXPECT_EQ(answers[0].payload.size(), c.length);
  }
}

TEST_F(SettledReceiver, HealthQueryGetsTwoReportsAndSelectionListsTheChannels) {
  const std::vector<Report> health = h.query(0x26);
  ASSERT_EQ(health.size(), 2u);
  EXPECT_EQ(health[0].id, 0x46);
  ASSERT_EQ(health[0].payload.size(), 2u);
  EXPECT_EQ(health[0].payload[0], 0) << "doing fixes";
  EXPECT_EQ(health[1].id, 0x4B);

  const Report sel = h.ask(0x24, {}, 0x6D);
  ASSERT_GE(sel.payload.size(), 17u);
  int used = 0, tracked = 0;
  for (const auto& ch : h.model().tracker().channels()) {
    if (ch.sv == 0 || !ch.acquired) continue;
    ++tracked;
    used += ch.used ? 1 : 0;
  }
  ASSERT_EQ(sel.payload.size(), 17u + static_cast<std::size_t>(tracked));
  int positive = 0;
  for (std::size_t i = 17; i < sel.payload.size(); ++i) positive += static_cast<std::int8_t>(sel.payload[i]) > 0;
  EXPECT_EQ(positive, used);
  EXPECT_GE(used, 4);
  EXPECT_FLOAT_EQ(F32(sel.payload, 1), h.model().tracker().dops().pdop);
  EXPECT_GT(F32(sel.payload, 1), 0.9f);
  EXPECT_LT(F32(sel.payload, 1), 10.0f);
}

TEST_F(SettledReceiver, TrackingStatusReportsEveryOccupiedChannel) {
  const std::vector<Report> rows = h.query(0x3C, {0x00});
  int occupied = 0;
  for (const auto& ch : h.model().tracker().channels()) occupied += ch.sv != 0;
  ASSERT_EQ(static_cast<int>(rows.size()), occupied);
  EXPECT_GE(occupied, 6);
  for (const Report& r : rows) {
    ASSERT_EQ(r.id, 0x5C);
    ASSERT_EQ(r.payload.size(), 24u);
    const int channel = r.payload[1] >> 3;
    ASSERT_LT(channel, 12);
    const auto& ch = h.model().tracker().channels()[static_cast<std::size_t>(channel)];
    EXPECT_EQ(r.payload[0], ch.sv);
    if (ch.acquired) {
      EXPECT_EQ(r.payload[2], 1);
      const float elevation = F32(r.payload, 12), azimuth = F32(r.payload, 16);
      EXPECT_GT(elevation, -0.05f);
      EXPECT_LE(elevation, 1.5708f);
      EXPECT_GE(azimuth, 0.0f);
      EXPECT_LT(azimuth, 6.2832f);
      EXPECT_GT(F32(r.payload, 4), 0.0f) << "signal level of a locked satellite";
    }
  }
}

TEST_F(SettledReceiver, TimeReportsCarryTheClocksGpsTime) {
  const std::int64_t tow = kStartTow + elapsedSeconds();
  const Report t = h.ask(0x21, {}, 0x41);
  ASSERT_EQ(t.payload.size(), 10u);
  EXPECT_NEAR(F32(t.payload, 0), static_cast<float>(tow), 1.5f);
  EXPECT_EQ(U16(t.payload, 4), kStartWeek);
  EXPECT_FLOAT_EQ(F32(t.payload, 6), 18.0f);

  h.send(0x8E, {0xAB, 0x02});
  h.run(1100);
  const std::vector<Report> ab = h.reportsWith(0x8F, 0xAB);
  ASSERT_EQ(ab.size(), 1u);
  const Bytes& p = ab[0].payload;
  ASSERT_EQ(p.size(), 17u);
  const std::uint32_t abTow = U32(p, 1);
  EXPECT_NEAR(static_cast<double>(abTow), static_cast<double>(tow), 2.0);
  EXPECT_EQ(U16(p, 5), kStartWeek);
  EXPECT_EQ(I16(p, 7), 18);
  EXPECT_EQ(p[9] & 0x01, 0) << "GPS time base by default";
  // GPS time of day from the time of week; the date is the start date.
  EXPECT_EQ(p[12], abTow % 86400 / 3600);
  EXPECT_EQ(p[11], abTow % 3600 / 60);
  EXPECT_EQ(p[10], abTow % 60);
  EXPECT_EQ(p[13], 10);
  EXPECT_EQ(p[14], 3);
  EXPECT_EQ(U16(p, 15), 2024);

  const Report ad = h.ask(0x8E, {0xAD}, 0x8F, 0xAD);
  ASSERT_EQ(ad.payload.size(), 22u);
  EXPECT_EQ(U16(ad.payload, 1), 0) << "no event";
  const std::int64_t utcOfDay = (kStartTow + elapsedSeconds() - 18) % 86400;
  EXPECT_NEAR(ad.payload[11] * 3600 + ad.payload[12] * 60 + ad.payload[13], static_cast<double>(utcOfDay), 2.0);
  EXPECT_EQ(ad.payload[19] & 0x01, 1) << "UTC available";

  const Report cmp = h.ask(0x8E, {0x0B}, 0x8F, 0x0B);
  ASSERT_EQ(cmp.payload.size(), 74u);
  EXPECT_EQ(I16(cmp.payload, 16), -18) << "negative: the time of week is GPS time";
  EXPECT_NEAR(F64(cmp.payload, 3), static_cast<double>(tow), 2.0);
  EXPECT_EQ(cmp.payload[15], 6) << "overdetermined clock in the comprehensive report's numbering";
}

TEST_F(SettledReceiver, SupplementalTimingFollowsTheReceiversState) {
  h.send(0x8E, {0xAB, 0x02});
  h.run(1100);
  const std::vector<Report> ac = h.reportsWith(0x8F, 0xAC);
  ASSERT_EQ(ac.size(), 1u);
  const Bytes& p = ac[0].payload;
  ASSERT_EQ(p.size(), 68u);
  EXPECT_EQ(p[1], h.model().configuration().receiver.mode);
  EXPECT_EQ(p[3], h.model().surveyProgress());
  EXPECT_EQ(U16(p, 10), h.model().minorAlarms());
  EXPECT_EQ(p[12], 0) << "doing fixes";
  EXPECT_LT(std::fabs(F32(p, 16)), 1000.0f) << "PPS offset, ns";
  EXPECT_LT(std::fabs(F32(p, 60)), 2.6f) << "quantization error, ns";
  const sim::SimOptions defaults;
  EXPECT_NEAR(F64(p, 36), defaults.site.latitude, 1e-5);
  EXPECT_NEAR(F64(p, 44), defaults.site.longitude, 1e-5);
  EXPECT_NEAR(F64(p, 52), defaults.site.altitude, 30.0);
  EXPECT_EQ(p[64], 1) << "PPS is generated";
}

TEST_F(SettledReceiver, SystemDataReportsHoldTheCollectedData) {
  const Report utc = h.ask(0x2F, {}, 0x4F);
  EXPECT_EQ(I16(utc.payload, 12), 18);
  EXPECT_EQ(U16(utc.payload, 20), 1929);
  EXPECT_EQ(I16(utc.payload, 24), 18);

  const Report health = h.ask(0x29, {}, 0x49);
  EXPECT_EQ(health.payload[29], 0x3F) << "SV 30 is unhealthy";
  EXPECT_EQ(health.payload[0], 0x00);

  const Report alm = h.ask(0x20, {7}, 0x40);
  ASSERT_EQ(alm.payload.size(), 39u);
  EXPECT_EQ(alm.payload[0], 7);
  EXPECT_NEAR(F32(alm.payload, 23), 5153.6f, 1.0f) << "square root of A";
  EXPECT_NEAR(F32(alm.payload, 15), 0.96f, 0.03f) << "inclination";
  EXPECT_LT(F32(alm.payload, 7), 0.02f) << "eccentricity";

  // The satellite data request hands out the same almanac page.
  const Report data = h.ask(0x38, {0x01, 0x02, 7}, 0x58);
  ASSERT_EQ(data.payload.size(), 4u + 38u);
  EXPECT_EQ(data.payload[0], 2);
  EXPECT_EQ(Bytes(data.payload.begin() + 4, data.payload.end()), Bytes(alm.payload.begin() + 1, alm.payload.end()));
}

TEST_F(SettledReceiver, PerSatelliteReportsFollowTheTrackingChannels) {
  int sv = 0;
  for (const auto& ch : h.model().tracker().channels())
    if (ch.sv != 0 && ch.used) sv = ch.sv;
  ASSERT_NE(sv, 0);
  const Report raw = h.ask(0x3A, {static_cast<std::uint8_t>(sv)}, 0x5A);
  EXPECT_EQ(raw.payload[0], sv);
  EXPECT_GT(F32(raw.payload, 5), 0.0f) << "signal level";
  EXPECT_LT(std::fabs(F32(raw.payload, 13)), 6000.0f) << "Doppler, Hz";
  EXPECT_GE(F32(raw.payload, 9), 0.0f);
  EXPECT_LT(F32(raw.payload, 9), 1023.0f * 16.0f) << "code phase, 1/16 chip";

  const Report eph = h.ask(0x3B, {static_cast<std::uint8_t>(sv)}, 0x5B);
  EXPECT_EQ(eph.payload[0], sv);
  EXPECT_EQ(eph.payload[6], h.model().tracker().ephemeris(sv).iode);
  EXPECT_GT(F32(eph.payload, 12), 0.0f) << "URA";
}

TEST(SimPersona, ProductionParametersNameTheType) {
  struct Expect {
    const char* persona;
    std::uint16_t machineId;
    std::uint16_t premium;
  };
  for (const Expect& e : {Expect{"corvel", 96, 0}, Expect{"norden", 96, 8}, Expect{"pellam", 96, 4},
                          Expect{"cvl2", 96, 2}, Expect{"brisel", 91, 0}}) {
    SCOPED_TRACE(e.persona);
    Harness h(Harness::Options(QString::fromLatin1(e.persona)));
    h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
    h.run(200);
    const Report prod = h.ask(0x8E, {0x42}, 0x8F, 0x42);
    ASSERT_EQ(prod.payload.size(), 19u);
    EXPECT_EQ(U16(prod.payload, 15), e.machineId);
    EXPECT_EQ(U16(prod.payload, 13), e.premium);
    const sim::Persona* p = sim::FindPersona(QString::fromLatin1(e.persona));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(U32(prod.payload, 5), p->caseSerial);

    const Report man = h.ask(0x8E, {0x41}, 0x8F, 0x41);
    EXPECT_EQ(U32(man.payload, 3), p->boardSerial);
    EXPECT_EQ(man.payload[7], p->buildYear2);

    const Report version = h.ask(0x1F, {0x00, 0x00}, 0x45);
    ASSERT_EQ(version.payload.size(), p->longVersionReport ? 96u : 10u);
    EXPECT_EQ(version.payload[0], p->application.major);
    EXPECT_EQ(version.payload[1], p->application.minor);
    EXPECT_EQ(version.payload[4], p->application.yearSince1900);
    EXPECT_EQ(version.payload[5], p->signalProcessor.major);
    if (p->longVersionReport) {
      EXPECT_EQ(version.payload[17], p->applicationBuild);
      EXPECT_EQ(version.payload[20], p->buildHour);
    }
    // The bare query gets the short form on every type.
    EXPECT_EQ(h.ask(0x1F, {}, 0x45).payload.size(), 10u);
  }
}

TEST(SimPersona, UnknownPersonaPlaysTheCorvel) {
  Harness h(Harness::Options(QStringLiteral("nonesuch")));
  EXPECT_STREQ(h.model().persona().key, "corvel");
}

TEST(SimStartup, ReportsBeforeTheReceiverHasTimeSaySo) {
  Harness h;
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(200);
  const Report t = h.ask(0x21, {}, 0x41);
  EXPECT_FLOAT_EQ(F32(t.payload, 0), -1.0f) << "no time yet";
  const Report health = h.ask(0x26, {}, 0x46);
  EXPECT_EQ(health.payload[0], 1) << "don't have GPS time";
  h.send(0x8E, {0xAB, 0x02});
  h.run(1100);
  const std::vector<Report> ab = h.reportsWith(0x8F, 0xAB);
  ASSERT_EQ(ab.size(), 1u);
  EXPECT_NE(ab[0].payload[9] & 0x04, 0) << "time not set";
  EXPECT_NE(ab[0].payload[9] & 0x08, 0) << "no UTC information";
}

}  // namespace
}  // namespace halvix::simtest
