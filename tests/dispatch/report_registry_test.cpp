// The registry of report kinds walked row by row: every kind decodes the
// payloads its layout takes and refuses the others, through the dispatcher
// and the headless decoder alike; keys agree with the routing; and the route
// table's own rules (length split, sub-codes, collisions).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "link/report_dispatcher.h"
#include "link/report_routes.h"
#include "reports/report_registry.h"
#include "recording/decode_reports.h"

using namespace halvix::link;
using namespace halvix::reports;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A zero payload of the given length that routes to this kind's rule.
Bytes PayloadFor(const RouteRule& rule, int length) {
  Bytes p(static_cast<std::size_t>(length), 0);
  if (rule.subCode != RouteRule::kNoSubCode && length > 0) p[0] = static_cast<std::uint8_t>(rule.subCode);
  return p;
}

std::string Hex(int v) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", v & 0xFF);
  return text;
}

}  // namespace

TEST(ReportRegistry, EveryKindDecodesWhatItsLayoutTakesAndRefusesTheRest) {
  ReportDispatcher dispatcher;
  dispatcher.setRoutes(ReportRoutes());
  dispatcher.setDeveloperMode(true);
  std::string reached;
  for (const ReportKindRow& kind : ReportKinds()) {
    dispatcher.setDecoder(kind.key(), [&reached, &kind](const std::uint8_t* p, int n) {
      reached = std::string(kind.key()) + (kind.decode(p, n, nullptr) ? " decoded" : " refused");
    });
  }
  halvix::recording::ReportDecoder headless;

  for (const ReportKindRow& kind : ReportKinds()) {
    SCOPED_TRACE(std::string(kind.key()));
    const std::string key(kind.key());
    std::vector<int> accepted;
    for (int length = 0; length <= 511; ++length) {
      const Bytes p = PayloadFor(kind.route, length);
      if (halvix::reports::FindReportKind(kind.route.id, p.data(), length) != &kind) continue;
      reached.clear();
      dispatcher.dispatch(kind.route.id, p.data(), length);
      const auto outcome = headless.decode(kind.route.id, p.data(), length);
      EXPECT_EQ(headless.kind(), key);
      EXPECT_EQ(headless.name(), kind.name);
      if (kind.decode(p.data(), length, nullptr)) {
        accepted.push_back(length);
        EXPECT_EQ(reached, key + " decoded");
        EXPECT_EQ(outcome, halvix::recording::DecodeOutcome::Decoded);
        EXPECT_GT(headless.fieldCount(), 0);
      } else {
        EXPECT_EQ(reached, key + " refused");
        EXPECT_EQ(outcome, halvix::recording::DecodeOutcome::WrongLength);
        EXPECT_EQ(headless.fieldCount(), 0);
      }
    }
    ASSERT_FALSE(accepted.empty()) << "no length decodes";
    // One byte short of the shortest payload taken is never decoded.
    const int shorter = accepted.front() - 1;
    if (shorter >= 0) {
      const Bytes p = PayloadFor(kind.route, shorter);
      EXPECT_FALSE(kind.decode(p.data(), shorter, nullptr)) << shorter;
    }
  }
}

TEST(ReportRegistry, DeveloperKindsAreRefusedOutsideDeveloperMode) {
  ReportDispatcher dispatcher;
  dispatcher.setRoutes(ReportRoutes());
  std::vector<std::string> reached;
  for (const ReportKindRow& kind : ReportKinds()) {
    dispatcher.setDecoder(kind.key(), [&reached, &kind](const std::uint8_t*, int) { reached.emplace_back(kind.key()); });
  }
  int developerKinds = 0;
  for (const bool developer : {false, true}) {
    dispatcher.setDeveloperMode(developer);
    for (const ReportKindRow& kind : ReportKinds()) {
      reached.clear();
      const int length = kind.route.length == RouteRule::kAnyLength ? 8 : kind.route.length;
      const Bytes p = PayloadFor(kind.route, length);
      dispatcher.dispatch(kind.route.id, p.data(), length);
      const bool expected = developer || !kind.route.developerOnly;
      EXPECT_EQ(reached, expected ? std::vector<std::string>{std::string(kind.key())} : std::vector<std::string>{})
          << kind.key() << (developer ? " in developer mode" : "");
      if (!developer && kind.route.developerOnly) ++developerKinds;
    }
  }
  // The fatal diagnostics are the developer-mode kinds.
  EXPECT_EQ(developerKinds, 2);
}

TEST(ReportRegistry, KeysAreUniqueAndSayTheirRoute) {
  std::set<std::string_view> keys;
  for (const ReportKindRow& kind : ReportKinds()) {
    EXPECT_TRUE(keys.insert(kind.key()).second) << "twice: " << kind.key();
    EXPECT_FALSE(kind.name.empty()) << kind.key();
    std::string expected = Hex(kind.route.id);
    if (kind.route.subCode != RouteRule::kNoSubCode) {
      expected += '-';
      expected += Hex(kind.route.subCode);
    }
    EXPECT_EQ(kind.key().substr(0, expected.size()), expected);
    // A routed packet is called by its kind's key.
    const int length = kind.route.length == RouteRule::kAnyLength ? 4 : kind.route.length;
    const Bytes p = PayloadFor(kind.route, length);
    char out[8];
    EXPECT_EQ(halvix::reports::PacketKey(kind.route.id, p.data(), length, out), kind.key());
  }
  EXPECT_EQ(static_cast<int>(keys.size()), ReportRoutes().size());
  // Unrouted packets are named by id, and sub-code where the id routes on it.
  char out[8];
  const std::uint8_t sub[] = {0x99};
  EXPECT_EQ(halvix::reports::PacketKey(0x8F, sub, 1, out), "8F-99");
  EXPECT_EQ(halvix::reports::PacketKey(0x8F, sub, 0, out), "8F");
  EXPECT_EQ(halvix::reports::PacketKey(0x58, sub, 1, out), "58");
  EXPECT_EQ(halvix::reports::FindReportKind("8F-99"), nullptr);
  ASSERT_NE(halvix::reports::FindReportKind("4A-ALT"), nullptr);
  EXPECT_EQ(halvix::reports::FindReportKind("4A-ALT")->route.length, 9);
}

TEST(RouteTable, SplitsByLengthAndSubCodeAndLeavesOutCollidingRules) {
  const RouteRule rules[] = {
      {0x4A, RouteRule::kNoSubCode, RouteRule::kAnyLength, false, "4A"},
      {0x4A, RouteRule::kNoSubCode, 9, false, "4A-ALT"},
      {0x8F, 0xAB, RouteRule::kAnyLength, false, "8F-AB"},
      {0x8F, 0xAB, RouteRule::kAnyLength, false, "8F-AB again"},   // same sub-code
      {0x4A, RouteRule::kNoSubCode, RouteRule::kAnyLength, false, "4A again"},  // same id
      {0x4A, 0x01, RouteRule::kAnyLength, false, "4A-01"},         // id already plain
      {0x8F, RouteRule::kNoSubCode, RouteRule::kAnyLength, false, "8F"},  // id already sub-coded
      {0x300, RouteRule::kNoSubCode, RouteRule::kAnyLength, false, "bad id"},
      {0x41, 0x100, RouteRule::kAnyLength, false, "bad sub-code"},
  };
  const RouteTable table(rules);
  const std::uint8_t p[16] = {0xAB};
  EXPECT_EQ(table.find(0x4A, p, 9), 1);
  EXPECT_EQ(table.find(0x4A, p, 8), 0);
  EXPECT_EQ(table.find(0x4A, p, 0), 0);
  EXPECT_EQ(table.find(0x8F, p, 3), 2);
  EXPECT_EQ(table.find(0x8F, p, 0), RouteTable::kNoRow);
  EXPECT_EQ(table.find(0x8F, nullptr, 3), RouteTable::kNoRow);
  const std::uint8_t other[] = {0x01};
  EXPECT_EQ(table.find(0x8F, other, 1), RouteTable::kNoRow);
  EXPECT_EQ(table.find(0x41, other, 1), RouteTable::kNoRow);
  EXPECT_EQ(table.find(-1, p, 1), RouteTable::kNoRow);
  EXPECT_EQ(table.find(0x300, p, 1), RouteTable::kNoRow);
  EXPECT_EQ(table.find(0x00, p, 1), RouteTable::kNoRow);
  EXPECT_FALSE(table.routesId(0x41));
  EXPECT_TRUE(table.subCoded(0x8F));
  EXPECT_FALSE(table.subCoded(0x4A));
  EXPECT_EQ(table.rowOf("4A-ALT"), 1);
  EXPECT_EQ(table.rowOf("nothing"), RouteTable::kNoRow);

  // An empty table routes nothing.
  const RouteTable none;
  EXPECT_EQ(none.find(0x4A, p, 9), RouteTable::kNoRow);
  EXPECT_FALSE(none.routesId(0x4A));
}
