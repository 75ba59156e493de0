// The line: what a BREAK, a port change, mismatched settings and the event
// input do, and the output the receiver sends without being asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "sim/nmea_output.h"
#include "sim_harness.h"
#include "tests/support/comma_locale.h"

namespace halvix::simtest {
namespace {

// The fields after the first ';' of a port-settings line, read as the PC's
// break sequence reads them.
std::vector<std::string> PortLineFields(const std::string& text) {
  std::vector<std::string> fields;
  const std::size_t semi = text.find(';');
  if (semi == std::string::npos) return fields;
  std::size_t start = semi + 1;
  while (true) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) {
      fields.push_back(text.substr(start));
      break;
    }
    fields.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

std::string PortLine(const Bytes& raw) {
  const std::string text(raw.begin(), raw.end());
  const std::size_t at = text.find("PR");
  if (at == std::string::npos) return {};
  return text.substr(at, text.find('\n', at) - at);
}

bool AllJunk(const Bytes& raw) {
  for (std::uint8_t b : raw)
    if (b < 0x80) return false;
  return !raw.empty();
}

TEST(SimLine, BreakGivesAPortSettingsLineAndAKnownLineUntilNewSettings) {
  Harness h;
  h.device().setLine(Line(9600, 8, link::Parity::None));
  h.run(1500);
  EXPECT_TRUE(AllJunk(h.rawTaken())) << "odd parity read as none: garbled";

  h.device().setBreak(true);
  h.run(800);
  h.device().setBreak(false);
  h.run(100);
  const std::string line = PortLine(h.rawTaken());
  ASSERT_FALSE(line.empty());
  const std::vector<std::string> f = PortLineFields(line);
  ASSERT_GE(f.size(), 8u) << line;
  EXPECT_TRUE(f[1] == "0" || f[1] == "1");
  EXPECT_EQ(f[3], "9600");
  EXPECT_EQ(f[4], "8");
  EXPECT_EQ(f[5], "1");
  EXPECT_EQ(f[6], "O");

  // Until it is told otherwise the receiver talks 9600 8-None-1.
  EXPECT_EQ(h.ask(0x8E, {0x42}, 0x8F, 0x42).payload.size(), 19u);
  // Set serial port on the port the command came in on, then the PC follows.
  h.send(0xBC, {0xFF, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x02, 0x02, 0x00});
  h.run(200);
  EXPECT_EQ(h.model().line(), FactoryLine());
  h.take();
  EXPECT_TRUE(h.query(0x8E, {0x42}).empty()) << "the PC is still on 8-None-1";
  h.device().setLine(FactoryLine());
  h.run(1200);
  h.take();
  EXPECT_EQ(h.ask(0x8E, {0x42}, 0x8F, 0x42).payload.size(), 19u);
}

TEST(SimLine, PortSettingsLineCarriesChangedSettings) {
  Harness h;
  h.send(0xBC, {0x00, 0x08, 0x08, 0x03, 0x02, 0x01, 0x00, 0x02, 0x02, 0x00});
  h.run(200);
  EXPECT_EQ(h.model().line(), Line(19200, 8, link::Parity::Even, link::StopBits::Two));
  h.device().setLine(Line(9600, 8, link::Parity::None));
  h.device().setBreak(true);
  h.run(800);
  h.device().setBreak(false);
  h.run(100);
  const std::vector<std::string> f = PortLineFields(PortLine(h.rawTaken()));
  ASSERT_GE(f.size(), 8u);
  EXPECT_EQ(f[3], "19200");
  EXPECT_EQ(f[5], "2");
  EXPECT_EQ(f[6], "E");
}

TEST(SimLine, MismatchedLinesGarbleBothWays) {
  Harness h;
  h.send(0xBC, {0x00, 0x09, 0x09, 0x03, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00});
  h.run(1500);
  h.rawTaken();
  h.run(1500);
  const Bytes junk = h.rawTaken();
  EXPECT_TRUE(AllJunk(junk)) << "38400 read at 9600";
  EXPECT_TRUE(Unframe(junk, 0).empty());
  // A query at the wrong rate is not understood.
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(1500);
  h.device().setLine(Line(38400, 8, link::Parity::None));
  h.run(1500);
  EXPECT_FALSE(h.reportsWith(0x8F, 0xAC).empty()) << "the mask was never changed";

  // Same baud, both on 7 data bits: the top bit of every byte is lost.
  h.send(0xBC, {0x00, 0x07, 0x07, 0x02, 0x00, 0x00, 0x00, 0x02, 0x02, 0x00});
  h.run(100);
  h.device().setLine(Line(9600, 7, link::Parity::None));
  h.rawTaken();
  h.run(2000);
  const Bytes seven = h.rawTaken();
  ASSERT_FALSE(seven.empty());
  for (std::uint8_t b : seven) EXPECT_LT(b, 0x80);
}

TEST(SimLine, InputProtocolOffIgnoresQueriesUntilABreak) {
  Harness h;
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.send(0xBC, {0x00, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00});
  h.run(400);
  h.take();
  EXPECT_TRUE(h.query(0x8E, {0x42}).empty());
  h.device().setLine(Line(9600, 8, link::Parity::None));
  h.device().setBreak(true);
  h.run(300);
  h.device().setBreak(false);
  h.run(100);
  h.take();
  EXPECT_EQ(h.ask(0x8E, {0x42}, 0x8F, 0x42).payload.size(), 19u);
}

TEST(SimLine, NmeaOutputReplacesQlipReports) {
  Harness h;
  h.send(0x7A, {0x00, 0x01, 0x00, 0x00, 0x01, 0x21});
  h.send(0xBC, {0x00, 0x07, 0x07, 0x03, 0x01, 0x00, 0x00, 0x02, 0x04, 0x00});
  h.run(60'000);
  h.rawTaken();
  h.run(2000);
  const Bytes raw = h.rawTaken();
  const std::string text(raw.begin(), raw.end());
  EXPECT_NE(text.find("$GPGGA,"), std::string::npos);
  EXPECT_NE(text.find("$GPZDA,"), std::string::npos);
  EXPECT_NE(text.find("$GPRMC,"), std::string::npos);
  EXPECT_EQ(text.find("$GPGSV"), std::string::npos);
  EXPECT_TRUE(Unframe(raw, 0).empty()) << "no QLIP on an NMEA port";
  // Each sentence's checksum is the XOR of the characters between $ and *.
  const std::size_t dollar = text.find('$'), star = text.find('*', dollar);
  ASSERT_NE(star, std::string::npos);
  std::uint8_t sum = 0;
  for (std::size_t i = dollar + 1; i < star; ++i) sum ^= static_cast<std::uint8_t>(text[i]);
  EXPECT_EQ(std::stoi(text.substr(star + 1, 2), nullptr, 16), sum);
}

TEST(SimOutput, CorvelSendsTimingReportsOnceASecond) {
  Harness h;
  h.run(500);
  h.take();
  h.run(10'000);
  const std::vector<Report> all = h.take();
  int ab = 0, ac = 0;
  std::int64_t lastAb = -1;
  for (const Report& r : all) {
    if (r.id != 0x8F) continue;
    if (r.sub() == 0xAB) {
      ++ab;
      EXPECT_EQ(r.payload.size(), 17u);
      if (lastAb >= 0) {
        EXPECT_NEAR(static_cast<double>(r.atMs - lastAb), 1000.0, 20.0);
      }
      lastAb = r.atMs;
    }
    if (r.sub() == 0xAC) {
      ++ac;
      EXPECT_EQ(r.payload.size(), 68u);
    }
    EXPECT_NE(r.sub(), 0x0B) << "8F-0B only at events by default";
  }
  EXPECT_EQ(ab, 10);
  EXPECT_EQ(ac, 10);
}

TEST(SimOutput, BriselSendsComprehensiveAndUtcTimeAtThePps) {
  Harness h(Harness::Options(QStringLiteral("brisel")));
  h.run(500);
  h.take();
  h.run(5000);
  int cmp = 0, utc = 0;
  for (const Report& r : h.take()) {
    EXPECT_FALSE(r.id == 0x8F && (r.sub() == 0xAB || r.sub() == 0xAC));
    if (r.id == 0x8F && r.sub() == 0x0B) ++cmp;
    if (r.id == 0x8F && r.sub() == 0xAD) ++utc;
  }
  EXPECT_EQ(cmp, 5);
  EXPECT_EQ(utc, 5);
}

TEST(SimOutput, EventInputIsAnsweredWithCountedEventReports) {
  Harness h;
  h.run(60'000);
  h.take();
  for (int i = 0; i < 2; ++i) {
    h.run(330);
    h.device().setRts(true);
    h.device().setRts(false);
  }
  h.run(100);
  const std::vector<Report> cmp = h.reportsWith(0x8F, 0x0B);
  h.device().setRts(true);
  h.device().setRts(false);
  h.run(100);
  const std::vector<Report> utc = h.reportsWith(0x8F, 0xAD);
  ASSERT_EQ(cmp.size(), 2u);
  EXPECT_EQ(U16(cmp[0].payload, 1), 1);
  EXPECT_EQ(U16(cmp[1].payload, 1), 2);
  const double tow0 = F64(cmp[0].payload, 3), tow1 = F64(cmp[1].payload, 3);
  EXPECT_NEAR(tow1 - tow0, 0.33, 0.02) << "event times carry the fraction";
  ASSERT_EQ(utc.size(), 1u);
  EXPECT_EQ(U16(utc[0].payload, 1), 3);
  EXPECT_EQ(h.model().eventCount(), 3);
  // RTS raised and left up is no pulse.
  h.device().setRts(true);
  h.run(100);
  EXPECT_TRUE(h.reportsWith(0x8F, 0x0B).empty());
}

TEST(SimOutput, AutomaticPositionOutputFollowsTheIoOptions) {
  Harness h;
  h.run(90'000);
  h.send(0x8E, {0xA5, 0x00, 0x20, 0x00, 0x00});
  std::map<int, std::size_t> seen;
  for (const Report& r : h.watchAfter(0x35, {0x13, 0x03, 0x00, 0x01}, 3000)) {
    if (seen.count(r.id) == 0) seen[r.id] = r.payload.size();
    EXPECT_EQ(seen[r.id], r.payload.size());
  }
  EXPECT_EQ(seen[0x83], 36u);
  EXPECT_EQ(seen[0x84], 36u);
  EXPECT_EQ(seen[0x43], 20u);
  EXPECT_EQ(seen[0x56], 20u);
  EXPECT_EQ(seen[0x5A], 25u);
  EXPECT_EQ(seen.count(0x42), 0u);

  seen.clear();
  for (const Report& r : h.watchAfter(0x35, {0x03, 0x00, 0x00, 0x00}, 2000)) seen[r.id] = r.payload.size();
  EXPECT_EQ(seen[0x42], 16u);
  EXPECT_EQ(seen[0x4A], 20u);
  EXPECT_EQ(seen.count(0x43), 0u);
  // On request only: nothing comes by itself.
  EXPECT_TRUE(h.watchAfter(0x35, {0x03, 0x00, 0x04, 0x00}, 2000).empty());
}

TEST(SimReset, ReceiverIsSilentAFewSecondsThenAnnouncesItself) {
  Harness h;
  h.run(2000);
  h.send(0x25);
  h.run(100);
  h.take();
  h.send(0x8E, {0x42});
  h.run(2000);
  EXPECT_TRUE(h.take().empty()) << "silent while restarting";
  h.run(1500);
  const std::vector<Report> after = h.take();
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.front().id, 0x45);
  EXPECT_EQ(h.model().resetCount(), 1);
}

}  // namespace
}  // namespace halvix::simtest

// NMEA fields are comma separated: under a decimal-comma locale (the simulator
// runs inside Halvix, which takes the operator's) every field still has its
// decimal point, and the sentences are the same bytes as under the C locale.
TEST(NmeaOutput, FieldsKeepTheirDecimalPointUnderACommaLocale) {
  halvix::sim::NmeaFix fix;
  fix.valid = true;
  fix.position.latitude = 0.6518;    // radians, about 37.35 N
  fix.position.longitude = -2.1338;  // about 122.26 W
  fix.position.altitude = 60.0;
  fix.pdop = 1.75f;
  fix.hdop = 0.95f;
  fix.vdop = 1.5f;
  fix.used = {3, 7, 12};
  const std::string plain = halvix::sim::NmeaSentences(fix, 0x11 | 0x02);
  ASSERT_NE(plain.find("$GPGGA,"), std::string::npos);
  halvix::testing::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << halvix::testing::CommaLocale::kSkipReason;
  const std::string german = halvix::sim::NmeaSentences(fix, 0x11 | 0x02);
  EXPECT_EQ(german, plain);
  // GGA: 15 fields, the latitude's minutes and the altitude with a point.
  const std::size_t gga = german.find("$GPGGA,");
  const std::string sentence = german.substr(gga, german.find('*', gga) - gga);
  EXPECT_EQ(std::count(sentence.begin(), sentence.end(), ','), 14) << sentence;
  EXPECT_NE(sentence.find(",3720.7233,N,"), std::string::npos) << sentence;
  EXPECT_NE(sentence.find(",12.1,M,47.9,M,"), std::string::npos) << sentence;
}
