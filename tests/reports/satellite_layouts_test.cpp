#include <gtest/gtest.h>

#include "reports/satellite_layouts.h"
#include "tests/reports/payload_writer.h"

using namespace halvix::reports;
using halvix::testing::AcceptsLength;
using halvix::testing::PayloadWriter;

namespace {

PayloadWriter TrackingPayload(std::uint8_t satellite, std::uint8_t channelByte) {
  PayloadWriter p(24);
  p.byte(0, satellite).byte(1, channelByte).byte(2, 1).byte(3, 1);
  p.single(4, 12.5f).single(8, 1234.0f).single(12, 0.7854f).single(16, 3.1416f);
  return p;
}

PayloadWriter SelectionPayload(std::initializer_list<std::int8_t> satellites) {
  PayloadWriter p(17 + static_cast<int>(satellites.size()));
  p.byte(0, 0x04).single(1, 1.94f).single(5, 1.06f).single(9, 1.63f).single(13, 0.99f);
  int offset = 17;
  for (const std::int8_t sv : satellites) p.byte(offset++, static_cast<std::uint8_t>(sv));
  return p;
}

}  // namespace

TEST(TrackingStatusLayout, RowTextLinesUpWithTheColumns) {
  const PayloadWriter p = TrackingPayload(17, 0x18);
  const auto r = DecodeTrackingStatus(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->channel, 3);
  EXPECT_EQ(r->row(), 4);
  EXPECT_EQ(r->satelliteText(), QStringLiteral("17"));
  EXPECT_EQ(r->signalText(), QStringLiteral(" 12.5"));
  EXPECT_EQ(r->rowText(), QStringLiteral(" 17   4    1   1    12.5    1234.0  45.0  180.0"));
}

TEST(TrackingStatusLayout, ChannelBitsAndRejections) {
  // Bits 2..0 of the channel byte are not part of the channel.
  const PayloadWriter low = TrackingPayload(3, 0x5F);
  const auto last = DecodeTrackingStatus(low.data(), low.length());
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->row(), 12);
  EXPECT_EQ(last->satelliteText(), QStringLiteral(" 3"));
  // The table has twelve rows: channel 12 and beyond are dropped.
  const PayloadWriter twelve = TrackingPayload(3, 0x60);
  EXPECT_FALSE(DecodeTrackingStatus(twelve.data(), twelve.length()).has_value());
  const PayloadWriter top = TrackingPayload(3, 0xF8);
  EXPECT_FALSE(DecodeTrackingStatus(top.data(), top.length()).has_value());
  EXPECT_FALSE(AcceptsLength(DecodeTrackingStatus, 23));
  EXPECT_FALSE(AcceptsLength(DecodeTrackingStatus, 25));
}

TEST(SatelliteSelectionLayout, SelectionDrivesTheColours) {
  const PayloadWriter p = SelectionPayload({5, -12, 0});
  const auto r = DecodeSatelliteSelection(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(FormatDop(r->pdop), QStringLiteral("1.9"));
  EXPECT_EQ(FormatDop(r->hdop), QStringLiteral("1.1"));
  EXPECT_EQ(FormatDop(r->vdop), QStringLiteral("1.6"));
  EXPECT_EQ(FormatDop(r->tdop), QStringLiteral("1.0"));
  EXPECT_EQ(r->listText(), QStringLiteral("   5 -12   0"));
  const SatelliteSelectionTable table = r->table();
  EXPECT_EQ(SatelliteColour(12, table), SvColour::Yellow);
  EXPECT_EQ(SatelliteColour(5, table), SvColour::Green);
  EXPECT_EQ(SatelliteColour(7, table), SvColour::Window);
  // The empty entries never match: satellite 0 is no satellite.
  EXPECT_EQ(SatelliteColour(0, table), SvColour::Window);
}

TEST(SatelliteSelectionLayout, FirstMatchWinsAndShortReportsClear) {
  SatelliteSelectionTable table{};
  table[0] = -7;
  table[1] = 7;
  EXPECT_EQ(SatelliteColour(7, table), SvColour::Yellow);
  EXPECT_EQ(SatelliteColour(-7, table), SvColour::Window);

  const PayloadWriter bare = SelectionPayload({});
  const auto r = DecodeSatelliteSelection(bare.data(), bare.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_TRUE(r->listText().isEmpty());
  EXPECT_EQ(r->table(), SatelliteSelectionTable{});
  EXPECT_FALSE(AcceptsLength(DecodeSatelliteSelection, 16));
  EXPECT_FALSE(AcceptsLength(DecodeSatelliteSelection, 0));
}

TEST(SatelliteSelectionLayout, LongestPayloadKeepsEveryByteInTheList) {
  // The parser delivers at most 511 payload bytes: 494 satellites.
  PayloadWriter p(511);
  for (int i = 17; i < 511; ++i) p.byte(i, static_cast<std::uint8_t>(i));
  const auto r = DecodeSatelliteSelection(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  ASSERT_EQ(r->satelliteCount, 494);
  const QString list = r->listText();
  EXPECT_EQ(list.size(), 494 * 4);
  EXPECT_TRUE(list.endsWith(QStringLiteral("  -2")));  // byte 510 = 0xFE
  const SatelliteSelectionTable table = r->table();
  EXPECT_EQ(table[0], 17);
  EXPECT_EQ(table[11], 28);
  // Satellites beyond the twelfth do not colour.
  EXPECT_EQ(SatelliteColour(29, table), SvColour::Window);
}

TEST(RawMeasurementLayout, FieldsAndFormats) {
  PayloadWriter p(25);
  p.byte(0, 3).single(1, 9.5f).single(5, 14.3f).single(9, 512.125f).single(13, -1234.5f);
  p.dbl(17, 345678.1);
  const auto r = DecodeRawMeasurement(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->satellite, 3);
  EXPECT_EQ(r->sampleLengthText(), QStringLiteral("9.500000"));
  EXPECT_EQ(r->signalLevelText(), QStringLiteral("14.3"));
  EXPECT_EQ(r->codePhaseText(), QStringLiteral("512.125000"));
  EXPECT_EQ(r->dopplerText(), QStringLiteral("-1234.50"));
  EXPECT_EQ(r->timeText(), QStringLiteral("345678.10"));
  EXPECT_FALSE(AcceptsLength(DecodeRawMeasurement, 24));
  EXPECT_FALSE(AcceptsLength(DecodeRawMeasurement, 26));
}

TEST(EphemerisStatusLayout, FieldsFormatsAndDropDownItem) {
  PayloadWriter p(16);
  p.byte(0, 9).single(1, 1000.5f).byte(5, 0x3F).byte(6, 0x0A).single(7, 7200.0f);
  p.byte(11, 1).single(12, 2.75f);
  const auto r = DecodeEphemerisStatus(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->comboIndex(), 8);
  EXPECT_EQ(r->collectionTimeText(), QStringLiteral("1000.50"));
  EXPECT_EQ(r->healthText(), QStringLiteral("3F"));
  EXPECT_EQ(r->iodeText(), QStringLiteral("0A"));
  EXPECT_EQ(r->toeText(), QStringLiteral("7200.00"));
  EXPECT_EQ(r->fitFlagText(), QStringLiteral("1"));
  EXPECT_EQ(r->accuracyText(), QStringLiteral("2.75"));

  EphemerisStatus other = *r;
  other.satellite = 0;
  EXPECT_FALSE(other.comboIndex().has_value());
  other.satellite = 33;
  EXPECT_FALSE(other.comboIndex().has_value());
  other.satellite = 32;
  EXPECT_EQ(other.comboIndex(), 31);
  EXPECT_FALSE(AcceptsLength(DecodeEphemerisStatus, 15));
  EXPECT_FALSE(AcceptsLength(DecodeEphemerisStatus, 17));
}

TEST(AlmanacLayouts, AlmanacDataPanelsInWindowOrder) {
  PayloadWriter p(39);
  p.byte(0, 11).single(1, 589824.0f).word(5, 1401).single(7, 0.0125f).single(11, 61440.0f);
  p.single(15, 0.96f).single(19, -0.0000078f).single(23, 5153.625f).single(27, -1.25f);
  p.single(31, 0.5f).single(35, 2.5f);
  const auto r = DecodeAlmanacData(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->satellite, 11);
  const std::array<QString, 10> texts = r->panelTexts();
  EXPECT_EQ(texts[0], QStringLiteral("589824"));
  EXPECT_EQ(texts[1], QStringLiteral("1401"));
  EXPECT_EQ(texts[2], QStringLiteral("0.012500"));
  EXPECT_EQ(texts[3], QStringLiteral("61440"));
  EXPECT_EQ(texts[4], QStringLiteral("0.960000"));
  EXPECT_EQ(texts[5], QStringLiteral("-0.000008"));
  EXPECT_EQ(texts[6], QStringLiteral("5153.625000"));
  EXPECT_EQ(texts[7], QStringLiteral("-1.250000"));
  EXPECT_EQ(texts[8], QStringLiteral("0.500000"));
  EXPECT_EQ(texts[9], QStringLiteral("2.500000"));
  EXPECT_FALSE(AcceptsLength(DecodeAlmanacData, 38));
  EXPECT_FALSE(AcceptsLength(DecodeAlmanacData, 40));
}

TEST(AlmanacLayouts, HealthPageHexPerSatellite) {
  PayloadWriter p(32);
  p.byte(0, 0x3F).byte(31, 0xA0);
  const auto r = DecodeAlmanacHealth(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->healthText(1), QStringLiteral("3F"));
  EXPECT_EQ(r->healthText(2), QStringLiteral("0"));
  EXPECT_EQ(r->healthText(32), QStringLiteral("A0"));
  EXPECT_TRUE(r->healthText(0).isEmpty());
  EXPECT_TRUE(r->healthText(33).isEmpty());
  EXPECT_FALSE(AcceptsLength(DecodeAlmanacHealth, 31));
  EXPECT_FALSE(AcceptsLength(DecodeAlmanacHealth, 33));
}
