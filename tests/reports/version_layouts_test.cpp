// The receiver-description layouts: accepted lengths, field offsets, the
// century rule of the build date, the status texts and the receiver type
// that the production parameters name.
#include <gtest/gtest.h>

#include "reports/version_layouts.h"
#include "tests/reports/payload_writer.h"

using namespace halvix::reports;
using halvix::testing::AcceptsLength;
using halvix::testing::PayloadWriter;

namespace {

TEST(VersionLayouts, AcceptedLengths) {
  struct Case {
    const char* report;
    bool (*accepts)(int);
    std::vector<int> good, bad;
  } cases[] = {
      {"0x45", [](int n) { return AcceptsLength(DecodeSoftwareVersion, n); }, {10, 96}, {0, 9, 11, 95, 97}},
      {"0x46", [](int n) { return AcceptsLength(DecodeHealth, n); }, {2}, {0, 1, 3}},
      {"0x4E", [](int n) { return AcceptsLength(DecodeSetTimeReply, n); }, {1}, {0, 2}},
      {"0x5F-11", [](int n) { return AcceptsLength(DecodeSegmentStatus, n); }, {3}, {2, 4}},
      {"0x8F-41", [](int n) { return AcceptsLength(DecodeManufacturingParameters, n); }, {17}, {16, 18}},
      {"0x8F-42", [](int n) { return AcceptsLength(DecodeProductionParameters, n); }, {19}, {18, 20}},
  };
  for (const Case& c : cases) {
    for (int n : c.good) EXPECT_TRUE(c.accepts(n)) << c.report << " length " << n;
    for (int n : c.bad) EXPECT_FALSE(c.accepts(n)) << c.report << " length " << n;
  }
}

TEST(VersionLayouts, ManufacturingDateCentury) {
  struct Case {
    int year, month, day;
    const char* text;
  } cases[] = {{79, 1, 2, "1/2/2079"}, {80, 1, 2, "1/2/1980"}, {7, 12, 31, "12/31/2007"},
               {0, 6, 1, "6/1/2000"}, {99, 6, 1, "6/1/1999"}};
  for (const Case& c : cases) {
    PayloadWriter p(17);
    p.byte(0, 0x41).byte(7, static_cast<std::uint8_t>(c.year)).byte(8, static_cast<std::uint8_t>(c.month));
    p.byte(9, static_cast<std::uint8_t>(c.day));
    const auto m = DecodeManufacturingParameters(p.data(), p.length());
    ASSERT_TRUE(m);
    EXPECT_EQ(m->buildDateText(), c.text) << c.year;
  }
  PayloadWriter p(17);
  p.byte(0, 0x41).word(1, 4242).longWord(3, 0xFFFFFFFE).byte(10, 23).single(11, -1.25f).word(15, 777);
  const auto m = DecodeManufacturingParameters(p.data(), p.length());
  ASSERT_TRUE(m);
  EXPECT_EQ(m->serialPrefix, 4242);
  EXPECT_EQ(m->serialNumber, -2) << "a signed long";
  EXPECT_EQ(m->hour, 23);
  EXPECT_DOUBLE_EQ(m->oscillatorOffset, -1.25);
  EXPECT_EQ(m->testCode, 777);
}

TEST(VersionLayouts, ProductionParametersChooseTheReceiverType) {
  // First match wins: machine 98, then 91, then the premium options.
  struct Case {
    int machine, premium, type;
  } cases[] = {{98, 0, 0}, {98, 8, 0}, {91, 0, 5}, {1, 0, 1}, {1, 8, 2},
               {1, 4, 3},  {1, 2, 4},  {1, 5, 0},  {0, 1, 0}, {1, 0x8000, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(ReceiverTypeForProduction(c.machine, c.premium), c.type) << c.machine << "/" << c.premium;
  }
}

TEST(VersionLayouts, HealthTextsNameUndefinedCodes) {
  EXPECT_EQ(HealthStatusText(9), "Only 1 usable SV");
  EXPECT_EQ(HealthStatusText(12), "Choosen SV is unusable");
  for (int code : {4, 7, 13, 255}) {
    EXPECT_EQ(HealthStatusText(code), QStringLiteral("Unknown status (code %1)").arg(code));
  }
}

TEST(VersionLayouts, FatalMessagesAndSegmentBits) {
  const std::uint8_t error[] = {0xFF, 'b', 'a', 'd'};
  const auto e = DecodeFatalMessage(error, 4);
  ASSERT_TRUE(e);
  EXPECT_FALSE(e->exception);
  EXPECT_EQ(e->text, "bad");
  EXPECT_EQ(e->label(), "Application Fatal Error:");
  const std::uint8_t exception[] = {0xFE};
  const auto x = DecodeFatalMessage(exception, 1);
  ASSERT_TRUE(x);
  EXPECT_TRUE(x->text.isEmpty());
  EXPECT_EQ(x->label(), "Application Fatal Exception:");
  const std::uint8_t other[] = {0x12, 'x'};
  EXPECT_FALSE(DecodeFatalMessage(other, 2));
  EXPECT_FALSE(DecodeFatalMessage(other, 0));

  const std::uint8_t segments[] = {0x11, 0x08, 0x01};
  const auto s = DecodeSegmentStatus(segments, 3);
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->invalid(0));
  EXPECT_TRUE(s->invalid(11));
  EXPECT_FALSE(s->invalid(1));
  const std::uint8_t y[] = {'Y'}, n[] = {'y'};
  EXPECT_TRUE(DecodeSetTimeReply(y, 1)->accepted);
  EXPECT_FALSE(DecodeSetTimeReply(n, 1)->accepted);
}

}  // namespace
