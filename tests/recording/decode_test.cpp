// halvix-decode's lines: golden text, CSV and JSON lines of reports whose
// payloads are written here byte by byte, and the problem line each broken
// input gives while decoding goes on.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/reports/payload_writer.h"
#include "recording/decode_output.h"

using halvix::testing::PayloadWriter;
using namespace halvix::recording;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(int id, const PayloadWriter& p) { return halvix::testing::Framed(id, p); }

struct Decoded {
  std::string lines;
  std::int64_t problems = 0;
};

Decoded Decode(const Bytes& stream, DecodeFormat format = DecodeFormat::Text, std::vector<std::string> only = {}) {
  LineOutput out;
  DecodeOptions o;
  o.format = format;
  o.only = std::move(only);
  DecodeSession s(o, out);
  s.feed(stream.data(), stream.size());
  s.finish();
  return {std::string(out.text()), s.problems()};
}


struct Golden {
  int id;
  PayloadWriter payload;
  const char* kind;
  const char* name;
  const char* fields;
};

constexpr double kDeg = 3.14159 / 180;

std::vector<Golden> Goldens() {
  return {
      {0x8F, PayloadWriter(17).byte(0, 0xAB).longWord(1, 345600).word(5, 2300).word(7, 18)
                 .byte(9, 3).byte(10, 59).byte(11, 30).byte(12, 23).byte(13, 31).byte(14, 12).word(15, 2024),
       "8F-AB", "Primary Timing",
       "timeOfWeek=345600 s  week=2300  utcOffset=18 s  timingFlags=3  hours=23 h  minutes=30 min  seconds=59 s  day=31  month=12  year=2024"},
      {0x8F, PayloadWriter(68).byte(0, 0xAC).byte(1, 6).byte(3, 100).word(10, 0x0802).byte(12, 2)
                 .single(16, 12.5F).single(20, -0.25F).dbl(36, 45 * kDeg).dbl(44, -90 * kDeg)
                 .dbl(52, 412.5).single(60, 1.5F).byte(64, 1),
       "8F-AC", "Supplemental Timing",
       "receiverMode=6  surveyProgress=100 %  minorAlarms=2050  statusCode=2  ppsOffset=12.5 ns  "
       "oscillatorOffset=-0.25 ppb  latitude=45 deg  longitude=-90 deg  altitude=412.5 m  "
       "quantizationError=1.5 ns  ppsGenerated=1"},
      {0x8F, PayloadWriter(22).byte(0, 0xAD).word(1, 0).dbl(3, 0.5).byte(11, 12).byte(12, 1)
                 .byte(13, 2).byte(14, 3).byte(15, 4).word(16, 2025).byte(18, 0).byte(19, 0x11),
       "8F-AD", "Primary UTC Time",
       "eventCount=0  fraction=0.5 s  hours=12 h  minutes=1 min  seconds=2 s  day=3  month=4  year=2025  receiverStatus=0  flags=17"},
      {0x41, PayloadWriter(10).single(0, 345600.5F).word(4, 2300).single(6, 18),
       "41", "GPS Time", "timeOfWeek=345600.5 s  week=2300  utcOffset=18 s"},
      {0x42, PayloadWriter(16).single(0, 1.5F).single(4, -2).single(8, 3e6F),
       "42", "XYZ Position", "x=1.5 m  y=-2 m  z=3000000 m"},
      {0x43, PayloadWriter(20).single(0, 0.125F).single(4, 0).single(8, -1).single(12, 7),
       "43", "XYZ Velocity", "x=0.125 m/s  y=0 m/s  z=-1 m/s  biasRate=7 m/s"},
      {0x4A, PayloadWriter(20).single(8, 100).single(12, -3),
       "4A", "LLA Position", "latitude=0 deg  longitude=0 deg  altitude=100 m  clockBias=-3 m"},
      {0x4A, PayloadWriter(9).single(0, 250.25F), "4A-ALT", "Reference Altitude", "altitude=250.25 m"},
      {0x56, PayloadWriter(20).single(0, 1).single(4, 2).single(8, 3).single(12, 4),
       "56", "ENU Velocity", "east=1 m/s  north=2 m/s  up=3 m/s  biasRate=4 m/s"},
      {0x83, PayloadWriter(36).dbl(0, 4e6).dbl(8, 1.25).dbl(16, -4.5e6).dbl(24, 0.001),
       "83", "Precise XYZ Position", "x=4000000 m  y=1.25 m  z=-4500000 m  clockBias=0.001 m"},
      {0x5C, PayloadWriter(24).byte(0, 7).byte(1, 3 << 3).byte(2, 2).byte(3, 1).single(4, 45.5F)
                 .single(8, 12).single(12, static_cast<float>(45 * kDeg)).single(16, static_cast<float>(270 * kDeg)),
       "5C", "Tracking Status",
       "satellite=7  channel=3  acquisition=2  ephemeris=1  signalLevel=45.5 AMU  lastMeasurement=12 s  elevation=45 deg  azimuth=270 deg"},
      {0x6D, PayloadWriter(20).byte(0, 4).single(1, 1.5F).single(5, 1).single(9, 2).single(13, 0.5F)
                 .byte(17, 3).byte(18, 0xF9).byte(19, 0x10),
       "6D", "Satellite Selection", "mode=4  pdop=1.5  hdop=1  vdop=2  tdop=0.5  satellites=\"3 -7 16\""},
      {0x46, PayloadWriter(2).byte(0, 8), "46", "Health", "status=8"},
      {0x4E, PayloadWriter(1).byte(0, 'Y'), "4E", "Set Time Reply", "accepted=1"},
      {0x5F, PayloadWriter(3).byte(0, 0x11).word(1, 0x0005), "5F-11", "EEPROM Segment Status", "invalidSegments=5"},
      {0x5F, PayloadWriter(4).byte(0, 0xFF).byte(1, 'a').byte(2, ',').byte(3, 'b'), "5F-FF",
       "Application Fatal Error", "message=\"a,b\""},
      {0x55, PayloadWriter(4).byte(0, 0x12).byte(1, 2).byte(2, 1).byte(3, 0), "55", "I/O Options",
       "position=18  velocity=2  timing=1  auxiliary=0"},
      {0x8F, PayloadWriter(9).byte(0, 0x4F).dbl(1, 1e-6), "8F-4F", "PPS Width", "width=1e-06 s"},
      {0x8F, PayloadWriter(11).byte(0, 0xA9).byte(1, 1).byte(2, 0).longWord(3, 2000), "8F-A9",
       "Self-Survey Parameters", "enabled=1  savePosition=0  length=2000 fixes"},
  };
}

TEST(DecodeText, GoldenLinePerReportKind) {
  std::int64_t offset = 0;
  for (const Golden& g : Goldens()) {
    SCOPED_TRACE(g.kind);
    Bytes stream(5, 0x00);  // the line starts after some junk: offsets must count it
    const Bytes frame = Frame(g.id, g.payload);
    stream.insert(stream.end(), frame.begin(), frame.end());
    const Decoded r = Decode(stream);
    const std::size_t firstEnd = r.lines.find('\n');
    ASSERT_NE(firstEnd, std::string::npos);
    const std::string line = r.lines.substr(firstEnd + 1);
    char head[64];
    std::snprintf(head, sizeof head, "%10d  %-7s%-26s", 5, g.kind, g.name);
    EXPECT_EQ(line, std::string(head) + " " + g.fields + "\n");
    ++offset;
  }
}

TEST(DecodeText, GoldenLinesHoldWhenKindsInterleaveAndRepeat) {
  // Each kind's fixed text is kept between packets: twice through every kind
  // in one stream must give the same lines as one packet at a time.
  const std::vector<Golden> goldens = Goldens();
  Bytes stream;
  std::string expected;
  for (int pass = 0; pass < 2; ++pass) {
    for (const Golden& g : goldens) {
      char head[64];
      std::snprintf(head, sizeof head, "%10zu  %-7s%-26s", stream.size(), g.kind, g.name);
      expected += std::string(head) + " " + g.fields + "\n";
      const Bytes frame = Frame(g.id, g.payload);
      stream.insert(stream.end(), frame.begin(), frame.end());
    }
  }
  EXPECT_EQ(Decode(stream).lines, expected);
}

TEST(DecodeCsvAndJson, GoldenLinesAndEveryKindConsistent) {
  const Golden g = Goldens()[3];  // 0x41
  const Bytes frame = Frame(g.id, g.payload);
  EXPECT_EQ(Decode(frame, DecodeFormat::Csv).lines,
            "#41,offset,timeOfWeek (s),week,utcOffset (s)\n41,0,345600.5,2300,18\n");
  EXPECT_EQ(Decode(frame, DecodeFormat::JsonLines).lines,
            "{\"offset\":0,\"kind\":\"41\",\"report\":\"GPS Time\",\"fields\":{\"timeOfWeek\":345600.5,"
            "\"week\":2300,\"utcOffset\":18},\"units\":{\"timeOfWeek\":\"s\",\"utcOffset\":\"s\"}}\n");
  for (const Golden& k : Goldens()) {
    SCOPED_TRACE(k.kind);
    const Bytes f = Frame(k.id, k.payload);
    const std::string csv = Decode(f, DecodeFormat::Csv).lines;
    const std::size_t split = csv.find('\n');
    const std::string header = csv.substr(0, split), row = csv.substr(split + 1);
    EXPECT_EQ(header.rfind(std::string("#") + k.kind + ",offset", 0), 0u);
    EXPECT_EQ(row.rfind(std::string(k.kind) + ",0,", 0), 0u);
    // Quoted texts hold no commas here but the fatal message's one.
    const auto commas = [](const std::string& s) { return std::count(s.begin(), s.end(), ','); };
    EXPECT_EQ(commas(header), commas(row) - (std::string(k.kind) == "5F-FF" ? 1 : 0));
    const std::string json = Decode(f, DecodeFormat::JsonLines).lines;
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
    EXPECT_EQ(o.value("kind").toString().toStdString(), k.kind);
    EXPECT_EQ(o.value("report").toString().toStdString(), k.name);
  }
}

TEST(DecodeJson, NonFiniteNumbersAreNull) {
  const Bytes f = Frame(0x41, PayloadWriter(10).single(0, NAN).word(4, 1).single(6, INFINITY));
  const QJsonObject fields = QJsonDocument::fromJson(QByteArray::fromStdString(
      Decode(f, DecodeFormat::JsonLines).lines)).object().value("fields").toObject();
  EXPECT_TRUE(fields.value("timeOfWeek").isNull());
  EXPECT_TRUE(fields.value("utcOffset").isNull());
  EXPECT_EQ(fields.value("week").toInt(), 1);
  EXPECT_NE(Decode(f).lines.find("timeOfWeek=nan s"), std::string::npos);
}

TEST(DecodeOnly, KeepsTheNamedKindsAndTheProblems) {
  Bytes s = Frame(0x46, PayloadWriter(2));
  for (const Bytes& f : {Frame(0x8F, PayloadWriter(9).byte(0, 0x4F)), Frame(0x99, PayloadWriter(1)),
                         Frame(0x8F, PayloadWriter(5).byte(0, 0x4B))}) {
    s.insert(s.end(), f.begin(), f.end());
  }
  const std::string lines = Decode(s, DecodeFormat::Text, {"8F-4F"}).lines;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
  EXPECT_NE(lines.find("PPS Width"), std::string::npos);
  EXPECT_NE(lines.find("unknown id 0x99"), std::string::npos);
  const std::string all8F = Decode(s, DecodeFormat::Text, {"8F"}).lines;
  EXPECT_EQ(std::count(all8F.begin(), all8F.end(), '\n'), 3);
}

struct Broken {
  const char* what;
  Bytes stream;
  const char* line;  // the problem line expected among the output
};

TEST(DecodeBroken, EachFlawIsALineAndDecodingGoesOn) {
  const Bytes good = Frame(0x46, PayloadWriter(2).byte(0, 1));
  Bytes overLong{0x10, 0x41};
  overLong.insert(overLong.end(), 600, 0x20);
  overLong.insert(overLong.end(), {0x10, 0x03});
  const std::vector<Broken> cases = {
      {"lone DLE", {0x10, 0x46, 0x01, 0x10, 0x99, 0x10, 0x03}, "         0  !      problem                    frame broken by a DLE that neither doubles nor ends it\n"},
      {"over-long frame", overLong, "         0  !      problem                    frame over 512 bytes\n"},
      {"unknown id", {0x10, 0x77, 0x01, 0x10, 0x03}, "unknown id 0x77, 1 byte\n"},
      {"unknown sub-code", {0x10, 0x8F, 0x77, 0x10, 0x03}, "unknown sub-code 8F-77, 1 byte\n"},
      {"wrong length", {0x10, 0x41, 0x01, 0x10, 0x03}, "41 GPS Time: wrong length, 1 byte\n"},
      {"bytes outside a frame", {0x01, 0x02, 0x03}, "3 bytes outside a frame\n"},
  };
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes s = c.stream;
    s.insert(s.end(), good.begin(), good.end());
    const Decoded r = Decode(s);
    EXPECT_NE(r.lines.find(c.line), std::string::npos) << r.lines;
    EXPECT_NE(r.lines.find("Health                     status=1"), std::string::npos) << r.lines;
    EXPECT_GE(r.problems, 1);
  }
  // A stream cut inside a frame: the good frame first, then the cut one.
  Bytes cut = good;
  cut.insert(cut.end(), {0x10, 0x41, 0x01});
  const Decoded r = Decode(cut);
  EXPECT_NE(r.lines.find("status=1"), std::string::npos);
  char expected[80];
  std::snprintf(expected, sizeof expected, "%10zu  !      problem                    stream cut short inside a frame\n", good.size());
  EXPECT_NE(r.lines.find(expected), std::string::npos) << r.lines;
}

TEST(DecodeBroken, RandomBytesNeverStopIt) {
  std::mt19937 rng(7);
  Bytes noise(200000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(rng() % 3 == 0 ? 0x10 : rng());
  const Bytes good = Frame(0x46, PayloadWriter(2).byte(0, 9));
  noise.insert(noise.end(), {0x10, 0x03});  // ends whatever frame the noise left open
  noise.insert(noise.end(), good.begin(), good.end());
  for (const DecodeFormat f : {DecodeFormat::Text, DecodeFormat::Csv, DecodeFormat::JsonLines}) {
    const Decoded r = Decode(noise, f);
    EXPECT_GT(r.problems, 0);
    EXPECT_NE(r.lines.find(f == DecodeFormat::Text ? "status=9\n" : f == DecodeFormat::Csv ? "46," : "\"status\":9"),
              std::string::npos);
  }
}

}  // namespace
