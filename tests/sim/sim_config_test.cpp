// Configuration: every set command changes what its query reports; saving,
// reverting and the resets restore what they should.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "sim_harness.h"

namespace halvix::simtest {
namespace {

class Configured : public ::testing::Test {
 protected:
  void SetUp() override {
    h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
    h.run(200);
    h.take();
  }
  Report sub(std::uint8_t code) { return h.ask(0x8E, {code}, 0x8F, code); }
  // Writes one non-default value into each segment that holds a setting.
  void writeTestValues() {
    Bytes alt;
    PutF32(alt, 100.0f);
    h.send(0x2A, alt);
    h.send(0x8E, {0x15, 0x00, 0x05});
    h.send(0x8E, {0x4E, 0x02});
    h.send(0x8E, {0xA9, 0x01, 0x00, 0x00, 0x00, 0x00, 0x64, 0, 0, 0, 0});
    h.send(0x7A, {0x00, 0x0A, 0x00, 0x00, 0x00, 0x01});
    h.send(0xBC, {0x01, 0x08, 0x08, 0x03, 0x02, 0x01, 0x00, 0x02, 0x02, 0x00});
    h.run(500);
  }
  struct Readback {
    float altitude;
    int datum, ppsMode, surveyLength, nmeaInterval, portBBaud;
    bool operator==(const Readback&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Readback& r) {
      return os << "altitude " << r.altitude << ", datum " << r.datum << ", PPS mode " << r.ppsMode
                << ", survey length " << r.surveyLength << ", NMEA interval " << r.nmeaInterval
                << ", port B baud " << r.portBBaud;
    }
  };
  static constexpr Readback kTestValues{100.0f, 5, 2, 100, 10, 8};
  static constexpr Readback kDefaults{0.0f, 0, 3, 2000, 1, 6};
  Readback readBack() {
    Readback r{};
    r.altitude = F32(h.ask(0x2A, {}, 0x4A).payload, 0);
    r.datum = U16(sub(0x15).payload, 1);
    r.ppsMode = sub(0x4E).payload.at(1);
    r.surveyLength = static_cast<int>(U32(sub(0xA9).payload, 3));
    r.nmeaInterval = h.ask(0x7A, {0x00}, 0x7B).payload.at(1);
    r.portBBaud = h.ask(0xBC, {0x01}, 0xBC).payload.at(1);
    return r;
  }
  void reset(const Bytes& cmd) {
    if (cmd.empty()) {
      h.send(0x25);
    } else {
      h.send(0x1E, cmd);
    }
    h.run(4000);
    h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
    h.run(200);
    h.take();
  }
  Harness h;
};

TEST_F(Configured, EverySetCommandShowsInItsQuery) {
  Bytes alt;
  PutF32(alt, 123.5f);
  h.send(0x2A, alt);
  h.run(200);
  Report a = h.ask(0x2A, {}, 0x4A);
  EXPECT_FLOAT_EQ(F32(a.payload, 0), 123.5f);
  EXPECT_EQ(a.payload[8], 1);
  h.send(0x2A, {0xFF});
  h.run(200);
  EXPECT_EQ(h.ask(0x2A, {}, 0x4A).payload[8], 0) << "altitude cleared";

  h.send(0x35, {0x33, 0x03, 0x01, 0x03});
  h.run(200);
  EXPECT_EQ(h.ask(0x35, {}, 0x55).payload, (Bytes{0x33, 0x03, 0x01, 0x03}));

  h.send(0x7A, {0x00, 0x01, 0x00, 0x00, 0x01, 0x01});
  h.run(200);
  const Report nmea = h.ask(0x7A, {0x00}, 0x7B);
  EXPECT_EQ(nmea.payload[1], 1);
  EXPECT_EQ(U32(nmea.payload, 2), 0x101u);

  Bytes bb{0x00, 0x04, 0x03, 0x01, 0x01};
  PutF32(bb, 0.17453277f);
  PutF32(bb, 6.0f);
  PutF32(bb, 8.0f);
  PutF32(bb, 5.0f);
  bb.push_back(20);
  bb.insert(bb.end(), 5, 0x00);
  bb.insert(bb.end(), 16, 0xFF);
  ASSERT_EQ(bb.size(), 43u);
  h.send(0xBB, bb);
  h.run(200);
  const Report cfg = h.ask(0xBB, {0x00}, 0xBB);
  EXPECT_EQ(cfg.payload[1], 4);
  EXPECT_EQ(cfg.payload[2], 3);
  EXPECT_EQ(cfg.payload[3], 1);
  EXPECT_FLOAT_EQ(F32(cfg.payload, 5), 0.17453277f);
  EXPECT_FLOAT_EQ(F32(cfg.payload, 9), 6.0f);
  EXPECT_FLOAT_EQ(F32(cfg.payload, 13), 8.0f);
  EXPECT_FLOAT_EQ(F32(cfg.payload, 17), 5.0f);
  EXPECT_EQ(cfg.payload[21], 20);

  h.send(0xBC, {0x01, 0x09, 0x09, 0x03, 0x02, 0x01, 0x00, 0x08, 0x04, 0x00});
  h.run(200);
  EXPECT_EQ(h.ask(0xBC, {0x01}, 0xBC).payload, (Bytes{0x01, 0x09, 0x09, 0x03, 0x02, 0x01, 0x00, 0x08, 0x04, 0x00}));

  h.send(0x8E, {0x15, 0x00, 0xB3});
  h.run(200);
  EXPECT_EQ(U16(sub(0x15).payload, 1), 179);

  Bytes pps{0x4A, 0x01, 0x01, 0x01};
  PutF64(pps, 1e-6);
  PutF32(pps, 50.0f);
  h.send(0x8E, pps);
  h.run(200);
  const Report ppsReport = sub(0x4A);
  EXPECT_EQ(Bytes(ppsReport.payload.begin() + 1, ppsReport.payload.begin() + 4), (Bytes{1, 1, 1}));
  EXPECT_DOUBLE_EQ(F64(ppsReport.payload, 4), 1e-6);
  EXPECT_FLOAT_EQ(F32(ppsReport.payload, 12), 50.0f);

  h.send(0x8E, {0x4B, 0x00, 0x01, 0x51, 0x80});
  h.send(0x8E, {0x4D, 0xC0, 0x00, 0x00, 0x00});
  h.send(0x8E, {0x4E, 0x04});
  Bytes width{0x4F};
  PutF64(width, 1e-3);
  h.send(0x8E, width);
  h.send(0x8E, {0xA5, 0x32, 0xE1, 0x00, 0x00});
  h.send(0x8E, {0xA9, 0x01, 0x01, 0x00, 0x00, 0x07, 0xD0, 0, 0, 0, 0});
  h.run(1000);
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});  // quiet again before asking
  h.run(200);
  h.take();
  EXPECT_EQ(U32(sub(0x4B).payload, 1), 86400u);
  EXPECT_EQ(U32(sub(0x4D).payload, 1), 0xC0000000u);
  EXPECT_EQ(sub(0x4E).payload[1], 4);
  EXPECT_DOUBLE_EQ(F64(sub(0x4F).payload, 1), 1e-3);
  const Report survey = sub(0xA9);
  EXPECT_EQ(survey.payload[1], 1);
  EXPECT_EQ(survey.payload[2], 1);
  EXPECT_EQ(U32(survey.payload, 3), 2000u);

  h.send(0x8E, {0xA5, 0x32, 0xE1, 0x00, 0x00});
  h.run(200);
  h.take();
  const std::vector<Report> mask = h.query(0x8E, {0xA5});
  bool seen = false;
  for (const Report& r : mask)
    if (r.id == 0x8F && r.sub() == 0xA5) {
      EXPECT_EQ(r.payload, (Bytes{0xA5, 0x32, 0xE1, 0x00, 0x00}));
      seen = true;
    }
  EXPECT_TRUE(seen);
}

TEST_F(Configured, PortAOutputCommandsSetTheBroadcastMaskBits) {
  h.send(0x8E, {0x0B, 0x01});
  h.send(0x8E, {0xAD, 0x02});
  h.run(300);
  h.take();
  h.send(0x8E, {0xA5});
  h.run(150);
  const std::vector<Report> masks = h.reportsWith(0x8F, 0xA5);
  ASSERT_FALSE(masks.empty());
  EXPECT_EQ(masks.back().payload[1], 0x21) << "8F-0B at the PPS, 8F-AD at events";
  h.send(0x8E, {0x0B, 0x07});  // not an output mode: ignored
  h.run(300);
  h.take();
  h.send(0x8E, {0xA5});
  h.run(150);
  EXPECT_EQ(h.reportsWith(0x8F, 0xA5).back().payload[1], 0x21);
}

TEST_F(Configured, OutOfRangeValuesAreRefused) {
  h.send(0x8E, {0x15, 0xFF, 0xFF});   // no datum selected
  h.send(0x8E, {0x4E, 0x05});         // not a PPS output mode
  h.send(0xBC, {0x01, 0x0C, 0x0C, 0x03, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00});  // baud code 12
  Bytes bb{0x00, 0xFF, 0xFF, 0xFF, 0x01};
  PutF32(bb, std::nanf(""));
  PutF32(bb, 4.0f);
  PutF32(bb, 12.0f);
  PutF32(bb, 6.0f);
  bb.push_back(30);
  bb.insert(bb.end(), 21, 0x00);
  h.send(0xBB, bb);
  h.run(400);
  h.take();
  EXPECT_EQ(U16(sub(0x15).payload, 1), 0);
  EXPECT_EQ(sub(0x4E).payload[1], 3);
  EXPECT_EQ(h.ask(0xBC, {0x01}, 0xBC).payload[1], 6);
  const Report cfg = h.ask(0xBB, {0x00}, 0xBB);
  EXPECT_EQ(cfg.payload[1], 7) << "0xFF keeps the mode";
  EXPECT_FLOAT_EQ(F32(cfg.payload, 5), h.model().configuration().receiver.elevationMask);
  EXPECT_TRUE(std::isfinite(F32(cfg.payload, 5)));
}

TEST_F(Configured, UnsavedSettingsAreLostAtAResetAndSavedOnesKept) {
  writeTestValues();
  reset({});
  EXPECT_EQ(readBack(), kDefaults);

  writeTestValues();
  h.send(0x8E, {0x26});
  h.run(200);
  reset({});
  EXPECT_EQ(readBack(), kTestValues);
}

TEST_F(Configured, RevertingOneSegmentLeavesTheOthersAndSavesThemAll) {
  writeTestValues();
  h.send(0x8E, {0x45, 0x03});  // packet I/O: the datum
  h.run(300);
  h.take();
  Readback r = readBack();
  EXPECT_EQ(r.datum, 0);
  EXPECT_FLOAT_EQ(r.altitude, 100.0f);
  // The revert wrote every segment to EEPROM, so a reset keeps the rest.
  reset({});
  r = readBack();
  EXPECT_EQ(r.datum, 0);
  EXPECT_FLOAT_EQ(r.altitude, 100.0f);
  EXPECT_EQ(r.nmeaInterval, 10);

  h.send(0x8E, {0x45, 0xFF});
  h.run(300);
  h.take();
  EXPECT_EQ(readBack(), kDefaults);
  h.send(0x8E, {0x45, 0x09});  // not a segment the receiver has
  h.run(300);
  EXPECT_EQ(readBack(), kDefaults);
}

TEST_F(Configured, FactoryResetsClearWhatEachShould) {
  writeTestValues();
  h.send(0x8E, {0x26});
  h.run(200);

  reset({'N'});  // navigation data only
  EXPECT_EQ(readBack(), kTestValues);
  EXPECT_EQ(h.model().timeSource(), sim::TimeSource::None) << "navigation data cleared";

  reset({'R'});  // configuration parameters
  EXPECT_EQ(readBack(), kDefaults);

  writeTestValues();
  h.send(0x8E, {0x26});
  h.run(200);
  reset({'F'});
  EXPECT_EQ(readBack(), kDefaults);
  EXPECT_EQ(h.model().timeSource(), sim::TimeSource::None);
}

TEST_F(Configured, ColdResetForgetsTimeAndAlmanacButKeepsSavedSettings) {
  h.run(260'000);
  ASSERT_TRUE(h.model().systemData().almanacComplete());
  ASSERT_EQ(h.model().timeSource(), sim::TimeSource::Satellites);
  writeTestValues();
  h.send(0x8E, {0x26});
  h.run(200);
  reset({'K'});
  EXPECT_EQ(h.model().timeSource(), sim::TimeSource::None);
  EXPECT_EQ(h.model().systemData().almanacCount(), 0);
  EXPECT_EQ(h.ask(0x38, {0x01, 0x02, 0x01}, 0x58).payload[0], 0) << "almanac not available";
  EXPECT_EQ(readBack(), kTestValues);
  // The warm reset keeps both.
  h.run(260'000);
  reset({});
  EXPECT_EQ(h.model().timeSource(), sim::TimeSource::Satellites);
  EXPECT_TRUE(h.model().systemData().almanacComplete());
  EXPECT_EQ(h.ask(0x38, {0x01, 0x02, 0x01}, 0x58).payload[0], 2);
}

TEST_F(Configured, UnknownResetModeDoesNothing) {
  h.send(0x1E, {'X'});
  h.run(100);
  EXPECT_FALSE(h.model().silent());
  EXPECT_EQ(h.model().resetCount(), 0);
}

TEST(SimSegments, CorruptSegmentShowsInStatusAndAlarmUntilSaved) {
  sim::SimOptions o;
  o.faults.corruptSegment = 5;
  Harness h(o);
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(200);
  const Report status = h.ask(0x3F, {0x11}, 0x5F, 0x11);
  EXPECT_EQ(U16(status.payload, 1), 1u << 5);
  EXPECT_NE(h.model().minorAlarms() & (1u << 10), 0) << "EEPROM invalid";
  h.send(0x8E, {0x26});
  h.run(200);
  EXPECT_EQ(U16(h.ask(0x3F, {0x11}, 0x5F, 0x11).payload, 1), 0u);
  EXPECT_EQ(h.model().minorAlarms() & (1u << 10), 0);
}

TEST(SimPosition, UploadedPositionIsHeldAndEndsTheSurvey) {
  Harness h;
  h.run(60'000);
  EXPECT_NE(h.model().minorAlarms() & (1u << 6), 0) << "no stored position yet";
  Bytes lla;
  PutF32(lla, 0.7853975f);
  PutF32(lla, -1.5707950f);
  PutF32(lla, 100.0f);
  h.send(0x32, lla);
  h.run(1500);
  const std::vector<Report> ac = h.reportsWith(0x8F, 0xAC);
  ASSERT_FALSE(ac.empty());
  const Bytes& p = ac.back().payload;
  EXPECT_NEAR(F64(p, 36), 0.7853975, 1e-6);
  EXPECT_NEAR(F64(p, 44), -1.5707950, 1e-6);
  EXPECT_NEAR(F64(p, 52), 100.0, 1e-3);
  EXPECT_EQ(p[3], 100);
  EXPECT_EQ(U16(p, 10) & ((1u << 5) | (1u << 6)), 0) << "no survey, and a position exists";

  Bytes bad;
  PutF32(bad, 1.0f);
  PutF32(bad, 2.0f);
  PutF32(bad, 3.0f);
  h.send(0x31, bad);  // not on the earth: ignored
  h.run(1500);
  EXPECT_NEAR(F64(h.reportsWith(0x8F, 0xAC).back().payload, 36), 0.7853975, 1e-6);

  h.send(0x8E, {0xA6, 0x00});  // restart the survey
  h.run(1500);
  const Bytes q = h.reportsWith(0x8F, 0xAC).back().payload;
  EXPECT_LT(q[3], 100);
  EXPECT_NE(U16(q, 10) & (1u << 5), 0) << "survey in progress";
}

TEST(SimTime, SetTimeIsAcceptedUntilSatelliteTimeWhenTheFaultIsOn) {
  sim::SimOptions o;
  o.faults.refuseTime = true;
  Harness h(o);
  Bytes t;
  PutF32(t, 265600.0f);
  PutU16(t, 1653);
  const Report first = h.ask(0x2E, t, 0x4E);
  ASSERT_EQ(first.payload.size(), 1u);
  EXPECT_EQ(first.payload[0], 'Y');
  EXPECT_EQ(h.model().timeSource(), sim::TimeSource::User);
  h.run(60'000);
  ASSERT_EQ(h.model().timeSource(), sim::TimeSource::Satellites);
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(200);
  EXPECT_EQ(h.ask(0x2E, t, 0x4E).payload[0], 'N');

  Harness plain;
  plain.run(60'000);
  plain.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  plain.run(200);
  EXPECT_EQ(plain.ask(0x2E, t, 0x4E).payload[0], 'Y') << "without the fault the time is taken";
  Bytes nonsense;
  PutF32(nonsense, -5.0f);
  PutU16(nonsense, 1653);
  EXPECT_EQ(plain.ask(0x2E, nonsense, 0x4E).payload[0], 'N');
}

}  // namespace
}  // namespace halvix::simtest
