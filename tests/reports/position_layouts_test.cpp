#include <gtest/gtest.h>

#include <numbers>

#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "tests/reports/payload_writer.h"

using namespace halvix::reports;
using halvix::testing::AcceptsLength;
using halvix::testing::PayloadWriter;

TEST(GpsTimeLayout, DecodesAndFeedsTheTimeTexts) {
  PayloadWriter p(10);
  p.single(0, 100000.0f).word(4, 1400).single(6, -14.7f);
  const auto r = DecodeGpsTime(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->timeOfWeek, 100000.0);
  EXPECT_EQ(r->week, 1400);
  EXPECT_EQ(r->wholeUtcOffset(), -14.0f);
  EXPECT_DOUBLE_EQ(r->gpsSeconds(), 1400 * 604800.0 + 100000.0);
  EXPECT_EQ(FormatGpsDate(r->gpsSeconds()), QStringLiteral(" Nov 6, 2006"));

  p.single(0, -1.0f);
  const auto none = DecodeGpsTime(p.data(), p.length());
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(QString::asprintf("%.0f", none->timeOfWeek), QStringLiteral("-1"));
  EXPECT_EQ(FormatWeekTime(static_cast<float>(none->timeOfWeek), true),
            QStringLiteral("<No time yet>"));

  EXPECT_FALSE(AcceptsLength(DecodeGpsTime, 9));
  EXPECT_FALSE(AcceptsLength(DecodeGpsTime, 11));
}

TEST(PositionLayouts, SinglePrecisionReportsReadTheirOffsets) {
  PayloadWriter p(20);
  p.single(0, 1.5f).single(4, -2.25f).single(8, 3.125f).single(12, 4.75f).single(16, 99.0f);
  const auto xyz = DecodeXyzPosition(p.data(), 16);
  ASSERT_TRUE(xyz.has_value());
  EXPECT_EQ(xyz->x, 1.5);
  EXPECT_EQ(xyz->y, -2.25);
  EXPECT_EQ(xyz->z, 3.125);

  const auto vel = DecodeXyzVelocity(p.data(), 20);
  ASSERT_TRUE(vel.has_value());
  EXPECT_EQ(vel->z, 3.125);
  EXPECT_EQ(vel->biasRate, 4.75);

  const auto enu = DecodeEnuVelocity(p.data(), 20);
  ASSERT_TRUE(enu.has_value());
  EXPECT_EQ(enu->east, 1.5);
  EXPECT_EQ(enu->north, -2.25);
  EXPECT_EQ(enu->up, 3.125);
  EXPECT_EQ(enu->biasRate, 4.75);

  const auto lla = DecodeLlaPosition(p.data(), 20);
  ASSERT_TRUE(lla.has_value());
  EXPECT_EQ(lla->latitude, 1.5);
  EXPECT_EQ(lla->altitude, 3.125);
  EXPECT_EQ(lla->clockBias, 4.75);

  const auto alt = DecodeReferenceAltitude(p.data(), 9);
  ASSERT_TRUE(alt.has_value());
  EXPECT_EQ(alt->altitude, 1.5);
}

TEST(PositionLayouts, DoublePrecisionReportsReadTheirOffsets) {
  PayloadWriter p(36);
  p.dbl(0, 0.0).dbl(8, std::numbers::pi / 2).dbl(16, 1234.5678).dbl(24, -0.015).single(32, 7.0f);
  const auto lla = DecodePreciseLlaPosition(p.data(), p.length());
  ASSERT_TRUE(lla.has_value());
  EXPECT_EQ(QString::asprintf("%.6f", RadiansToDegrees(lla->latitude)), QStringLiteral("0.000000"));
  EXPECT_EQ(QString::asprintf("%.6f", RadiansToDegrees(lla->longitude)),
            QStringLiteral("90.000076"));
  EXPECT_EQ(QString::asprintf("%.3f", lla->altitude), QStringLiteral("1234.568"));
  EXPECT_EQ(QString::asprintf("%.2f", lla->clockBias), QStringLiteral("-0.01"));

  const auto xyz = DecodePreciseXyzPosition(p.data(), p.length());
  ASSERT_TRUE(xyz.has_value());
  EXPECT_EQ(xyz->y, std::numbers::pi / 2);
  EXPECT_EQ(xyz->clockBias, -0.015);
}

TEST(PositionLayouts, EachAcceptsOnlyItsOwnLength) {
  EXPECT_TRUE(AcceptsLength(DecodeXyzPosition, 16));
  EXPECT_FALSE(AcceptsLength(DecodeXyzPosition, 20));
  EXPECT_FALSE(AcceptsLength(DecodeXyzVelocity, 19));
  EXPECT_FALSE(AcceptsLength(DecodeEnuVelocity, 21));
  EXPECT_FALSE(AcceptsLength(DecodePreciseXyzPosition, 35));
  EXPECT_FALSE(AcceptsLength(DecodePreciseLlaPosition, 37));
  // The two forms of 0x4A never take each other's length.
  EXPECT_TRUE(AcceptsLength(DecodeLlaPosition, 20));
  EXPECT_FALSE(AcceptsLength(DecodeLlaPosition, 9));
  EXPECT_TRUE(AcceptsLength(DecodeReferenceAltitude, 9));
  EXPECT_FALSE(AcceptsLength(DecodeReferenceAltitude, 20));
  EXPECT_FALSE(AcceptsLength(DecodeReferenceAltitude, 10));
}

namespace {

PayloadWriter ComprehensivePayload(double tow, std::int16_t offset) {
  return halvix::testing::ComprehensiveTimePayload(
      {.timeOfWeek = tow, .day = 5, .month = 11, .year = 2006, .receiverMode = 4,
       .utcOffset = offset, .oscillatorBias = 12.3456, .oscillatorDrift = -0.0006,
       .biasUncertainty = 1.5f, .driftUncertainty = 0.25f, .latitude = -0.5847, .longitude = 2.0,
       .altitude = 55.5556, .satellites = {5, -12, 0, 31, 1, -1, 0, 127}});
}

}  // namespace

TEST(ComprehensiveTimeLayout, DecodesEveryField) {
  PayloadWriter p = ComprehensivePayload(100000.0, -14);
  p.word(1, 3);
  const auto r = DecodeComprehensiveTime(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->eventCount, 3);
  EXPECT_EQ(r->timeOfWeekText(), QStringLiteral("100000.00"));
  EXPECT_EQ(r->dateText(), QStringLiteral("Nov 5, 2006"));
  EXPECT_EQ(ComprehensiveModeText(r->receiverMode), QStringLiteral("DGPS reference"));
  EXPECT_EQ(r->utcOffset, -14);
  EXPECT_EQ(r->utcOffsetText(), QStringLiteral("14"));
  EXPECT_EQ(QString::asprintf("%.3f", r->oscillatorBias), QStringLiteral("12.346"));
  EXPECT_EQ(QString::asprintf("%.3f", r->oscillatorDrift), QStringLiteral("-0.001"));
  EXPECT_EQ(r->biasUncertainty, 1.5);
  EXPECT_EQ(r->driftUncertainty, 0.25);
  EXPECT_EQ(r->longitude, 2.0);
  EXPECT_EQ(QString::asprintf("%.3f", r->altitude), QStringLiteral("55.556"));
  EXPECT_EQ(FormatPreciseWeekTime(r->timeOfWeek), QStringLiteral("3:46:40.000000000"));

  const HemisphereAngle lat = FormatLatitudeHemisphere(RadiansToDegrees(r->latitude));
  EXPECT_EQ(lat.degrees, QStringLiteral("33") + QChar(0x00B0));
  EXPECT_EQ(lat.minutes, QStringLiteral("30.0522'"));
  EXPECT_EQ(lat.hemisphere, QStringLiteral("S"));

  EXPECT_FALSE(AcceptsLength(DecodeComprehensiveTime, 73));
  EXPECT_FALSE(AcceptsLength(DecodeComprehensiveTime, 75));
}

TEST(ComprehensiveTimeLayout, SatelliteBytesAreSigned) {
  const PayloadWriter p = ComprehensivePayload(0.0, 0);
  const auto r = DecodeComprehensiveTime(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->satellites[1], -12);
  const ComprehensiveSatellite used = FormatComprehensiveSatellite(r->satellites[0]);
  EXPECT_EQ(used.text, QStringLiteral("5"));
  EXPECT_TRUE(used.usedForFixes);
  const ComprehensiveSatellite unused = FormatComprehensiveSatellite(r->satellites[1]);
  EXPECT_EQ(unused.text, QStringLiteral("12"));
  EXPECT_FALSE(unused.usedForFixes);
  const ComprehensiveSatellite empty = FormatComprehensiveSatellite(r->satellites[2]);
  EXPECT_TRUE(empty.text.isEmpty());
  EXPECT_FALSE(empty.usedForFixes);
  EXPECT_EQ(FormatComprehensiveSatellite(r->satellites[7]).text, QStringLiteral("127"));
  EXPECT_EQ(FormatComprehensiveSatellite(-128).text, QStringLiteral("128"));
}

TEST(ComprehensiveTimeLayout, OffsetSignChoosesTheTimeScale) {
  // Negative: the time of week is GPS.
  ComprehensiveTimeTexts t = FormatComprehensiveTimes(100000.0, -14);
  EXPECT_EQ(t.gpsTime, QStringLiteral("Mon 03:46:40"));
  EXPECT_EQ(t.utcTime, QStringLiteral("Mon 03:46:26"));
  EXPECT_TRUE(t.hasUtc);
  // Zero: no UTC at all.
  t = FormatComprehensiveTimes(100000.0, 0);
  EXPECT_EQ(t.gpsTime, QStringLiteral("Mon 03:46:40"));
  EXPECT_TRUE(t.utcTime.isEmpty());
  EXPECT_FALSE(t.hasUtc);
  // Positive: the time of week is UTC.
  t = FormatComprehensiveTimes(100000.0, 14);
  EXPECT_EQ(t.gpsTime, QStringLiteral("Mon 03:46:54"));
  EXPECT_EQ(t.utcTime, QStringLiteral("Mon 03:46:40"));
  // Shifts across either end of the week wrap into it.
  t = FormatComprehensiveTimes(604795.0, 14);
  EXPECT_EQ(t.gpsTime, QStringLiteral("Sun 00:00:09"));
  EXPECT_EQ(t.utcTime, QStringLiteral("Sat 23:59:55"));
  t = FormatComprehensiveTimes(13.0, -14);
  EXPECT_EQ(t.utcTime, QStringLiteral("Sat 23:59:59"));
  // A time of week beyond single precision's range is a bad time, not a crash.
  t = FormatComprehensiveTimes(1e300, -14);
  EXPECT_EQ(t.gpsTime, QStringLiteral("<Bad time>"));
}

TEST(ComprehensiveTimeLayout, ModeTable) {
  EXPECT_EQ(ComprehensiveModeText(0), QStringLiteral("Horizontal (2D)"));
  EXPECT_EQ(ComprehensiveModeText(2), QStringLiteral("Single Satellite (0D)"));
  EXPECT_EQ(ComprehensiveModeText(6), QStringLiteral("Overdetermined clock"));
  EXPECT_EQ(ComprehensiveModeText(7), QStringLiteral("Invalid Mode"));
  PayloadWriter p = ComprehensivePayload(0.0, 0);
  p.byte(15, 0xFF);
  const auto r = DecodeComprehensiveTime(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->receiverMode, -1);
  EXPECT_EQ(ComprehensiveModeText(r->receiverMode), QStringLiteral("Invalid Mode"));
}
