#include <gtest/gtest.h>

#include "reports/formatters.h"
#include "reports/timing_layouts.h"
#include "tests/reports/payload_writer.h"

using namespace halvix::reports;
using halvix::testing::AcceptsLength;
using halvix::testing::PayloadWriter;

namespace {

PayloadWriter PrimaryTimingPayload() {
  PayloadWriter p(17);
  p.byte(0, 0xAB).byte(1, 0x00).byte(2, 0x09).byte(3, 0x3A).byte(4, 0x7F);  // 604799
  p.word(5, 1400).word(7, 14).byte(9, 0x01);
  p.byte(10, 59).byte(11, 59).byte(12, 23).byte(13, 31).byte(14, 12).word(15, 2006);
  return p;
}

}  // namespace

TEST(PrimaryTimingLayout, DecodesEveryField) {
  const PayloadWriter p = PrimaryTimingPayload();
  const auto r = DecodePrimaryTiming(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->timeOfWeek, 604799u);
  EXPECT_EQ(r->week, 1400);
  EXPECT_EQ(r->utcOffset, 14);
  EXPECT_TRUE(r->isUtc());
  EXPECT_EQ(r->timeScaleText(), QStringLiteral("UTC"));
  EXPECT_EQ(r->clockText(), QStringLiteral("23:59:59"));
  EXPECT_EQ(r->dateText(), QStringLiteral("Dec 31, 2006"));
  EXPECT_DOUBLE_EQ(r->gpsSeconds(), 604799.0 + 1400.0 * 604800.0);
}

TEST(PrimaryTimingLayout, SignedOffsetUnsignedTimeAndFlags) {
  PayloadWriter p = PrimaryTimingPayload();
  p.byte(7, 0xFF).byte(8, 0xF2).byte(9, 0xFE).byte(14, 0);
  p.longWord(1, 0xFFFFFFF0u);
  const auto r = DecodePrimaryTiming(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->utcOffset, -14);
  EXPECT_EQ(QString::asprintf("%d", r->utcOffset), QStringLiteral("-14"));
  // Only bit 0 decides the time scale.
  EXPECT_FALSE(r->isUtc());
  EXPECT_EQ(r->timeScaleText(), QStringLiteral("GPS"));
  EXPECT_EQ(r->dateText(), QStringLiteral("??? 31, 2006"));
  // The time of week is unsigned: the GPS seconds never go negative.
  EXPECT_GT(r->gpsSeconds(), 4.0e9);
}

TEST(PrimaryTimingLayout, RejectsOtherLengths) {
  EXPECT_TRUE(AcceptsLength(DecodePrimaryTiming, 17));
  EXPECT_FALSE(AcceptsLength(DecodePrimaryTiming, 16));
  EXPECT_FALSE(AcceptsLength(DecodePrimaryTiming, 18));
  EXPECT_FALSE(AcceptsLength(DecodePrimaryTiming, 0));
  EXPECT_FALSE(DecodePrimaryTiming(nullptr, 17).has_value());
}

TEST(SupplementalTimingLayout, DecodesEveryFieldAtItsOffset) {
  PayloadWriter p(68);
  p.byte(0, 0xAC).byte(1, 7).byte(2, 0xEE).byte(3, 42).word(10, 0x0008).byte(12, 16);
  p.single(16, 12.345f).single(20, -0.13f);
  p.dbl(36, 0.5853).dbl(44, -1.5).dbl(52, 123.45).single(60, 2.5f).byte(64, 1);
  const auto r = DecodeSupplementalTiming(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->receiverMode, 7);
  EXPECT_EQ(r->surveyProgress, 42);
  EXPECT_EQ(r->surveyText(), QStringLiteral("42%"));
  EXPECT_EQ(r->minorAlarms, 0x0008);
  EXPECT_EQ(r->statusCode, 16);
  EXPECT_EQ(FormatTimingOutput(r->ppsOffset), QStringLiteral("12.35"));
  EXPECT_EQ(FormatTimingOutput(r->oscillatorOffset), QStringLiteral("-0.13"));
  EXPECT_EQ(r->latitude, 0.5853);
  EXPECT_EQ(r->longitude, -1.5);
  EXPECT_EQ(QString::asprintf("%.1f", r->altitude), QStringLiteral("123.5"));
  EXPECT_EQ(r->quantizationError, 2.5);
  EXPECT_TRUE(r->ppsGenerated);
  EXPECT_EQ(FormatLatLon(r->latitudeDegrees(), false), QStringLiteral("33.535248"));
  EXPECT_EQ(FormatLatLon(r->latitudeDegrees(), true),
            QStringLiteral("33") + QChar(0x00B0) + QStringLiteral(" 32' 6.893"));
}

TEST(SupplementalTimingLayout, AlarmWordAndLengths) {
  PayloadWriter p(68);
  p.word(10, 0x0008);
  auto r = DecodeSupplementalTiming(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  for (const int bit : kMinorAlarmLampBits) EXPECT_EQ(r->alarmSet(bit), bit == 3) << bit;
  EXPECT_FALSE(r->satellitesUsable());
  EXPECT_FALSE(r->ppsGenerated);
  EXPECT_FALSE(r->alarmSet(16));
  EXPECT_FALSE(r->alarmSet(-1));

  p.word(10, 0x0000);
  r = DecodeSupplementalTiming(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_TRUE(r->satellitesUsable());

  EXPECT_FALSE(AcceptsLength(DecodeSupplementalTiming, 67));
  EXPECT_FALSE(AcceptsLength(DecodeSupplementalTiming, 69));
  EXPECT_TRUE(AcceptsLength(DecodeSupplementalTiming, 68));
}

TEST(SupplementalTimingLayout, ModeAndStatusTables) {
  EXPECT_EQ(SupplementalModeText(0), QStringLiteral("Automatic (2D/3D)"));
  EXPECT_EQ(SupplementalModeText(2), QStringLiteral(" "));
  EXPECT_EQ(SupplementalModeText(7), QStringLiteral("Overdetermined Clock"));
  EXPECT_EQ(SupplementalModeText(8), QStringLiteral("Invalid Mode"));
  EXPECT_EQ(SupplementalModeText(255), QStringLiteral("Invalid Mode"));
  EXPECT_EQ(SupplementalStatusText(1), QStringLiteral("Don't have GPS time"));
  EXPECT_EQ(SupplementalStatusText(2), QStringLiteral(" "));
  EXPECT_EQ(SupplementalStatusText(5), QString());
  EXPECT_EQ(SupplementalStatusText(12), QStringLiteral("Chosen SV is unusable"));
  EXPECT_EQ(SupplementalStatusText(16), QStringLiteral("TRAIM rejected fix"));
  EXPECT_EQ(SupplementalStatusText(17), QStringLiteral("Invalid Status"));
  EXPECT_EQ(SupplementalStatusText(-1), QStringLiteral("Invalid Status"));
}

TEST(SupplementalTimingLayout, PositionDownloadTexts) {
  EXPECT_EQ(FormatPositionFileLine(45.0, -90.0, 100.0), QStringLiteral("0 45.00000 -90.00000 100.0"));
  EXPECT_EQ(FormatPositionDownloadMessage(45.0, -90.0, 100.0),
            QStringLiteral("Position successfully downloaded.\n\nLat: 45.00000\nLon: -90.00000\nAlt: 100.0"));
}

TEST(PrimaryUtcTimeLayout, DecodesTimeDateStatusAndFlags) {
  PayloadWriter p(22);
  p.byte(0, 0xAD).word(1, 0).dbl(3, 0.5).byte(11, 1).byte(12, 2).byte(13, 3);
  p.byte(14, 15).byte(15, 6).word(16, 2010).byte(18, 13).byte(19, 0x31);
  const auto r = DecodePrimaryUtcTime(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->eventCount, 0);
  EXPECT_EQ(r->timeText(), QStringLiteral("1:02:03.500000000"));
  EXPECT_EQ(r->dateText(), QStringLiteral("Jun 15, 2010"));
  EXPECT_EQ(UtcReceiverStatusText(r->receiverStatus), QStringLiteral("Overdetermined Fixes"));
  EXPECT_EQ(r->timeScaleText(), QStringLiteral("UTC Time"));
  EXPECT_TRUE(r->flagSet(0));
  EXPECT_TRUE(r->flagSet(4));
  EXPECT_TRUE(r->flagSet(5));
  EXPECT_FALSE(r->flagSet(6));
  EXPECT_FALSE(r->flagSet(7));
  EXPECT_FALSE(r->flagSet(8));

  p.word(1, 513).byte(19, 0xC0).byte(15, 13);
  const auto e = DecodePrimaryUtcTime(p.data(), p.length());
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->eventCount, 513);
  EXPECT_EQ(e->timeScaleText(), QStringLiteral("GPS Time"));
  EXPECT_EQ(e->dateText(), QStringLiteral("??? 15, 2010"));
}

TEST(PrimaryUtcTimeLayout, StatusTableAndLengths) {
  EXPECT_EQ(UtcReceiverStatusText(0), QStringLiteral("Navigating"));
  EXPECT_EQ(UtcReceiverStatusText(12), QStringLiteral("Differential Corr."));
  EXPECT_EQ(UtcReceiverStatusText(14), QStringLiteral("Invalid Status"));
  EXPECT_FALSE(AcceptsLength(DecodePrimaryUtcTime, 21));
  EXPECT_FALSE(AcceptsLength(DecodePrimaryUtcTime, 23));
  EXPECT_TRUE(AcceptsLength(DecodePrimaryUtcTime, 22));
}
