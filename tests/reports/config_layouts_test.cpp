#include <gtest/gtest.h>

#include <functional>

#include "reports/config_layouts.h"
#include "tests/reports/payload_writer.h"

using namespace halvix::reports;
using halvix::testing::AcceptsLength;
using halvix::testing::PayloadWriter;

TEST(ConfigLayouts, EachAcceptsOnlyItsOwnLength) {
  const struct {
    const char* report;
    std::function<bool(int)> accepts;
    int length;
  } cases[] = {
      {"4F", [](int n) { return AcceptsLength(DecodeUtcParameters, n); }, 26},
      {"55", [](int n) { return AcceptsLength(DecodeIoOptions, n); }, 4},
      {"7B", [](int n) { return AcceptsLength(DecodeNmeaSettings, n); }, 6},
      {"BB", [](int n) { return AcceptsLength(DecodeReceiverConfiguration, n); }, 43},
      {"BC", [](int n) { return AcceptsLength(DecodeSerialPortReport, n); }, 10},
      {"8F-15", [](int n) { return AcceptsLength(DecodeDatumReport, n); }, 43},
      {"8F-4A", [](int n) { return AcceptsLength(DecodePpsCharacteristics, n); }, 16},
      {"8F-4B", [](int n) { return AcceptsLength(DecodeSurveyLimit, n); }, 5},
      {"8F-4D", [](int n) { return AcceptsLength(DecodeAutomaticOutputMask, n); }, 5},
      {"8F-4E", [](int n) { return AcceptsLength(DecodePpsOutput, n); }, 2},
      {"8F-4F", [](int n) { return AcceptsLength(DecodePpsWidth, n); }, 9},
      {"8F-A5", [](int n) { return AcceptsLength(DecodeBroadcastMask, n); }, 5},
      {"8F-A9", [](int n) { return AcceptsLength(DecodeSelfSurvey, n); }, 11},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.accepts(c.length)) << c.report;
    EXPECT_FALSE(c.accepts(c.length - 1)) << c.report;
    EXPECT_FALSE(c.accepts(c.length + 1)) << c.report;
    EXPECT_FALSE(c.accepts(0)) << c.report;
  }
  EXPECT_FALSE(DecodeUtcParameters(nullptr, 26).has_value());
}

TEST(ConfigLayouts, SignedAndUnsignedFieldsOfUtcParameters) {
  PayloadWriter p(26);
  p.byte(0, 0x3F).byte(1, 0xF0);  // A0 = 1.0
  p.word(12, 0xFFF2).word(18, 0xFFFF).word(20, 0x8000).word(22, 7).word(24, 0xFFFF);
  const auto r = DecodeUtcParameters(p.data(), p.length());
  ASSERT_TRUE(r.has_value());
  EXPECT_DOUBLE_EQ(r->a0, 1.0);
  EXPECT_EQ(r->deltaTls, -14);
  EXPECT_EQ(r->wnT, 65535);
  EXPECT_EQ(r->wnLsf, 32768);
  EXPECT_EQ(r->dn, 7);
  EXPECT_EQ(r->deltaTlsf, -1);
}

TEST(ConfigLayouts, ReceiverConfigurationDgpsItemAndOffsets) {
  PayloadWriter p(43);
  p.byte(1, 4).byte(3, 2).single(5, 0.174533f).single(17, 6.5f).byte(21, 30).byte(4, 0xEE);
  for (const auto& [mode, index] : {std::pair{0, 0}, {1, 1}, {3, 2}}) {
    p.byte(2, static_cast<std::uint8_t>(mode));
    const auto r = DecodeReceiverConfiguration(p.data(), p.length());
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->dgpsModeIndex(), index) << mode;
    EXPECT_EQ(r->dynamicsCode, 2);
    EXPECT_FLOAT_EQ(static_cast<float>(r->pdopSwitch), 6.5f);
    EXPECT_EQ(r->dgpsAgeLimit, 30);
  }
}
