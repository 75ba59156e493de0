// halvix-decode --events: the events of a recorded stream at its seconds, in
// each format, with the thresholds given on the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/reports/payload_writer.h"
#include "recording/decode_events.h"

using namespace halvix::testing;
using namespace halvix::recording;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Second {
  std::uint32_t tow;
  float ppsNs;
  std::uint16_t alarms;
  std::uint8_t mode, status;
};

Bytes Stream(const std::vector<Second>& seconds) {
  Bytes s;
  for (const Second& x : seconds) {
    for (const Bytes& f :
         {Framed(0x8F, PayloadWriter(17).byte(0, 0xAB).longWord(1, x.tow).word(5, 2300)),
          Framed(0x8F, PayloadWriter(68).byte(0, 0xAC).byte(1, x.mode).word(10, x.alarms)
                           .byte(12, x.status).single(16, x.ppsNs))}) {
      s.insert(s.end(), f.begin(), f.end());
    }
  }
  return s;
}

// A quiet PPS for 60 s, a 200 ns step, an antenna alarm, a mode change, then
// 30 s without reports.
std::vector<Second> Scenario() {
  std::vector<Second> s;
  for (std::uint32_t t = 0; t < 120; ++t) {
    const float noise = static_cast<float>((t * 7) % 5) - 2.0F;
    Second x{7000 + t, noise + (t >= 60 ? 200.0F : 0.0F), 0, 7, 0};
    if (t >= 70 && t < 80) x.alarms = 0x0002;
    if (t >= 90) x.mode = 4;
    if (t >= 100) x.tow += 30;
    s.push_back(x);
  }
  return s;
}

std::string Decode(const Bytes& stream, DecodeFormat format, halvix::analysis::TimingEventSettings settings = {}) {
  LineOutput out;
  EventCollector c(format, out, settings);
  c.feed(stream.data(), stream.size());
  c.finish();
  return std::string(out.text());
}

}  // namespace

TEST(DecodeEvents, EachEventALineAtItsSecond) {
  const std::string csv = Decode(Stream(Scenario()), DecodeFormat::Csv);
  EXPECT_EQ(csv,
            "time_s,kind,detail,from,to,value\n"
            "60,pps_step,+197.0 ns (limit 50.0 ns),-1,-1,197\n"  // 200 ns less the noise
            "70,alarm_raised,Antenna Open,1,-1,0\n"
            "80,alarm_cleared,Antenna Open,1,-1,0\n"
            "90,mode_change,Overdetermined Clock -> Full Position (3D),7,4,0\n"
            "99,device_lost,no timing report for 31 s,-1,-1,31\n"
            "130,device_back,timing reports again,-1,-1,0\n");
  const std::string json = Decode(Stream(Scenario()), DecodeFormat::JsonLines);
  EXPECT_NE(json.find("{\"time_s\":70,\"kind\":\"alarm_raised\",\"detail\":\"Antenna Open\",\"from\":1,"),
            std::string::npos)
      << json;
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 6);
  const std::string text = Decode(Stream(Scenario()), DecodeFormat::Text);
  EXPECT_EQ(text.rfind("time_s    kind", 0), 0u) << text;
}

TEST(DecodeEvents, AReceiverFindingItsTimeIsNoOutage) {
  // Seconds from a receiver that has no GPS time yet, then the time it finds
  // two days on: the same alarms and status as before, no outage.
  std::vector<Second> s;
  for (std::uint32_t t = 0; t < 20; ++t) s.push_back({100 + t, 0, 0x0008, 7, 1});
  for (std::uint32_t t = 0; t < 20; ++t) s.push_back({200'000 + t, 0, 0x0000, 7, 0});
  const std::string csv = Decode(Stream(s), DecodeFormat::Csv);
  EXPECT_EQ(csv.find("device_"), std::string::npos) << csv;
  EXPECT_NE(csv.find("alarm_cleared,Satellite Tracking"), std::string::npos) << csv;
  EXPECT_NE(csv.find("status_change,Don't have GPS time -> Doing fixes"), std::string::npos) << csv;
}

TEST(DecodeEvents, ThresholdsChangeWhatIsAStep) {
  halvix::analysis::TimingEventSettings high;
  high.stepFloorNs = 500;
  EXPECT_EQ(Decode(Stream(Scenario()), DecodeFormat::Csv, high).find("pps_step"), std::string::npos);
  halvix::analysis::TimingEventSettings tight;
  tight.stepFloorNs = 0;
  tight.stepSpreads = 1.5;  // the noise itself now steps
  const std::string csv = Decode(Stream(Scenario()), DecodeFormat::Csv, tight);
  std::size_t steps = 0;
  for (std::size_t at = csv.find("pps_step"); at != std::string::npos; at = csv.find("pps_step", at + 1)) ++steps;
  EXPECT_GT(steps, 1u);
}
