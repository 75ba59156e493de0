// System data through the satellite data command, and the faults chosen by
// option.
#include <gtest/gtest.h>

#include "sim/sim_options.h"
#include "sim_harness.h"

namespace halvix::simtest {
namespace {

struct Block {
  std::uint8_t type;
  std::uint8_t sv;
  Bytes data;
};

sim::SimOptions Faulty(std::initializer_list<const char*> faults) {
  sim::SimOptions o;
  for (const char* f : faults) {
    QString error;
    EXPECT_TRUE(sim::ParseFault(QString::fromLatin1(f), o.faults, &error)) << error.toStdString();
  }
  return o;
}

// Requests types 3, 2 for SV 1..32, 4 and 5, as a download does, and stops
// at the first block that is not available.
std::vector<Block> Download(Harness& h, bool& complete) {
  std::vector<Block> blocks;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> steps{{3, 0}};
  for (std::uint8_t sv = 1; sv <= 32; ++sv) steps.emplace_back(2, sv);
  steps.emplace_back(4, 0);
  steps.emplace_back(5, 0);
  complete = false;
  for (auto [type, sv] : steps) {
    const Report r = h.ask(0x38, {0x01, type, sv}, 0x58);
    if (r.payload.size() < 4 || r.payload[0] != 2) return blocks;
    EXPECT_EQ(r.payload[1], type);
    EXPECT_EQ(r.payload[2], sv);
    EXPECT_EQ(r.payload.size(), 4u + r.payload[3]);
    blocks.push_back({type, sv, Bytes(r.payload.begin() + 4, r.payload.end())});
  }
  complete = true;
  return blocks;
}

Bytes Load(const Block& b) {
  Bytes p{0x02, b.type, b.sv, static_cast<std::uint8_t>(b.data.size())};
  p.insert(p.end(), b.data.begin(), b.data.end());
  return p;
}

class Collected : public ::testing::Test {
 protected:
  explicit Collected(sim::SimOptions o = {}) : h(o) {}
  void SetUp() override {
    h.run(260'000);
    h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
    h.run(200);
    h.take();
  }
  Harness h;
};

TEST_F(Collected, DownloadThenUploadIntoAnotherReceiverRoundTrips) {
  bool complete = false;
  const std::vector<Block> blocks = Download(h, complete);
  ASSERT_TRUE(complete);
  ASSERT_EQ(blocks.size(), 35u);

  // A receiver just cold-started has none of it; loading gives it all back.
  Harness other;
  other.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  other.run(200);
  EXPECT_EQ(other.ask(0x38, {0x01, 0x02, 0x05}, 0x58).payload[0], 0);
  for (const Block& b : blocks) {
    const Report ack = other.ask(0x38, Load(b), 0x58);
    ASSERT_EQ(ack.payload.size(), 4u);
    EXPECT_EQ(ack.payload[0], 1) << "accepted: type " << int(b.type) << " SV " << int(b.sv);
    EXPECT_EQ(ack.payload[1], b.type);
    EXPECT_EQ(ack.payload[2], b.sv);
  }
  bool again = false;
  const std::vector<Block> back = Download(other, again);
  ASSERT_TRUE(again);
  for (std::size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(back[i].data, blocks[i].data);
  // Loaded blocks are what the almanac, health and UTC reports show.
  const Report alm = other.ask(0x20, {9}, 0x40);
  EXPECT_EQ(Bytes(alm.payload.begin() + 1, alm.payload.end()), blocks[9].data);
  EXPECT_EQ(other.ask(0x2F, {}, 0x4F).payload, blocks[34].data);
  EXPECT_EQ(other.ask(0x29, {}, 0x49).payload, Bytes(blocks[0].data.begin(), blocks[0].data.begin() + 32));
}

TEST_F(Collected, MalformedLoadsAreRefused) {
  const Bytes good(38, 0x11);
  const std::vector<Bytes> bad = {
      {0x02, 0x02, 0x21, 38},                         // SV 33
      {0x02, 0x09, 0x00, 0x02, 0xAA, 0xBB},           // unknown type
      {0x02, 0x04, 0x00, 0x05, 1, 2, 3, 4, 5},        // wrong length for the type
      {0x02, 0x02, 0x03, 38, 0x01},                   // fewer bytes than announced
  };
  Bytes withBad = bad[0];
  withBad.insert(withBad.end(), good.begin(), good.end());
  for (Bytes cmd : {withBad, bad[1], bad[2], bad[3]}) {
    const Report r = h.ask(0x38, cmd, 0x58);
    ASSERT_EQ(r.payload.size(), 4u);
    EXPECT_NE(r.payload[0], 1);
  }
}

TEST(SimFaults, NoAlmanacForOneSatellite) {
  Harness h(Faulty({"no-almanac=7"}));
  h.run(260'000);
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(200);
  bool complete = true;
  const std::vector<Block> blocks = Download(h, complete);
  EXPECT_FALSE(complete);
  ASSERT_EQ(blocks.size(), 7u) << "health page and SVs 1 to 6";
  EXPECT_NE(h.model().minorAlarms() & (1u << 11), 0) << "the almanac stays incomplete";

  // A load of the missing page is kept, as any load is.
  Block seven{2, 7, blocks[6].data};
  EXPECT_EQ(h.ask(0x38, Load(seven), 0x58).payload[0], 1);
  EXPECT_EQ(h.ask(0x38, {0x01, 0x02, 0x07}, 0x58).payload[0], 2);
}

TEST(SimFaults, RefusedLoads) {
  Harness h(Faulty({"refuse-loads"}));
  h.run(260'000);
  h.send(0x8E, {0xA5, 0x00, 0x00, 0x00, 0x00});
  h.run(200);
  const Report page = h.ask(0x38, {0x01, 0x02, 0x03}, 0x58);
  ASSERT_EQ(page.payload[0], 2);
  Bytes load{0x02, 0x02, 0x03, page.payload[3]};
  load.insert(load.end(), page.payload.begin() + 4, page.payload.end());
  EXPECT_EQ(h.ask(0x38, load, 0x58).payload[0], 0);
}

TEST(SimFaults, AppFatalReportsAfterEveryNthReset) {
  Harness h(Faulty({"fatal-every=2", "exception-every=3"}));
  std::vector<std::uint8_t> kinds;
  for (int i = 1; i <= 6; ++i) {
    h.take();
    h.send(0x25);
    h.run(4000);
    for (const Report& r : h.reportsWith(0x5F)) {
      ASSERT_GE(r.payload.size(), 2u);
      kinds.push_back(r.payload[0]);
      const std::string text(r.payload.begin() + 1, r.payload.end());
      EXPECT_NE(text.find("reset #" + std::to_string(i)), std::string::npos) << text;
    }
  }
  // Resets 2, 4, 6 give an error; 3 and 6 an exception.
  EXPECT_EQ(kinds, (std::vector<std::uint8_t>{0xFF, 0xFE, 0xFF, 0xFF, 0xFE}));
}

TEST(SimFaults, SilentForGoodAfterTheNthReset) {
  Harness h(Faulty({"silent-after-reset=2"}));
  h.send(0x25);
  h.run(4000);
  EXPECT_FALSE(h.take().empty()) << "the first reset comes back";
  h.send(0x1E, {'K'});
  h.run(200);
  h.take();
  h.run(60'000);
  EXPECT_TRUE(h.take().empty());
  EXPECT_TRUE(h.query(0x8E, {0x42}, 1000).empty());
  EXPECT_TRUE(h.model().silent());
}

TEST(SimFaults, OccasionalReportOfTheWrongLength) {
  Harness h(Faulty({"bad-length=5"}));
  h.run(60'000);
  int wrong = 0, right = 0;
  for (const Report& r : h.reportsWith(0x8F, 0xAC)) (r.payload.size() == 68 ? right : wrong)++;
  EXPECT_GT(wrong, 0);
  EXPECT_GT(right, wrong);
}

TEST(SimFaults, FaultOptionsParse) {
  sim::Faults f;
  QString error;
  EXPECT_TRUE(sim::ParseFault(QStringLiteral("no-almanac=3,17"), f, &error));
  EXPECT_EQ(f.noAlmanac, (std::set<int>{3, 17}));
  EXPECT_TRUE(sim::ParseFault(QStringLiteral("silent-after-reset"), f, &error));
  EXPECT_EQ(f.silentAfterReset, 1);
  EXPECT_TRUE(sim::ParseFault(QStringLiteral("bad-length"), f, &error));
  EXPECT_GT(f.badLengthEvery, 0);
  EXPECT_FALSE(sim::ParseFault(QStringLiteral("no-almanac=33"), f, &error));
  EXPECT_FALSE(sim::ParseFault(QStringLiteral("fatal-every=0"), f, &error));
  EXPECT_FALSE(sim::ParseFault(QStringLiteral("corrupt-segment=9"), f, &error));
  EXPECT_FALSE(sim::ParseFault(QStringLiteral("explode"), f, &error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace halvix::simtest
