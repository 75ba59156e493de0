// Routing of received packets: which decoder each one reaches, and that the
// lamp and the post-dispatch hooks run for every packet, decoded or not; and
// every kind of the registry walked: what its layout takes and refuses.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <string>
#include <vector>

#include "link/report_dispatcher.h"
#include "link/serial_link.h"
#include "reports/report_registry.h"
#include "recording/decode_reports.h"
#include "tests/support/scripted_link.h"

using namespace halvix::link;
using halvix::testing::Bytes;
using halvix::testing::ScriptedDevice;

namespace {

struct Call {
  std::string decoder;
  Bytes payload;
  bool operator==(const Call&) const = default;
};

struct Recorded {
  int id;
  Bytes payload;
  bool operator==(const Recorded&) const = default;
};

class DispatcherTest : public ::testing::Test {
 protected:
  ReportDispatcher dispatcher;
  std::vector<Call> calls;
  std::vector<Recorded> recorded;
  int heartbeats = 0;

  ReportDispatcher::Decoder named(const std::string& name) {
    return [this, name](const std::uint8_t* p, int n) {
      calls.push_back({name, Bytes(p, p + n)});
    };
  }

  // Every kind of the registry gets a decoder that logs its key.
  void SetUp() override {
    dispatcher.setRoutes(halvix::reports::ReportRoutes());
    for (const halvix::reports::ReportKindRow& kind : halvix::reports::ReportKinds()) {
      ASSERT_TRUE(dispatcher.setDecoder(kind.key(), named(std::string(kind.key()))));
    }
    dispatcher.setRecorder([this](int id, const std::uint8_t* p, int n) {
      recorded.push_back({id, Bytes(p, p + n)});
    });
    dispatcher.setHeartbeat([this] { ++heartbeats; });
  }

  void feed(int id, const Bytes& payload) {
    dispatcher.dispatch(id, payload.data(), static_cast<int>(payload.size()));
  }
  // The decoder the last packet reached, or "" for none.
  std::string lastRoute(int id, const Bytes& payload) {
    calls.clear();
    feed(id, payload);
    return calls.empty() ? std::string() : calls.back().decoder;
  }
};

}  // namespace

TEST_F(DispatcherTest, PlainIdsAndSubCodesReachTheirDecodersWithThePayload) {
  EXPECT_EQ(lastRoute(0x41, {1, 2, 3}), "41");
  EXPECT_EQ(calls.back().payload, (Bytes{1, 2, 3}));
  EXPECT_EQ(lastRoute(0xBC, {}), "BC");
  // The super-report decoder sees the sub-code at offset 0.
  EXPECT_EQ(lastRoute(0x8F, {0xAB, 0x10, 0x05}), "8F-AB");
  EXPECT_EQ(calls.back().payload, (Bytes{0xAB, 0x10, 0x05}));
  EXPECT_EQ(lastRoute(0x8F, {0x0B}), "8F-0B");
  // No route: 0x58 is consumed by the almanac transfer, not here.
  EXPECT_EQ(lastRoute(0x58, {2, 2, 1, 0}), "");
  EXPECT_EQ(lastRoute(0x8E, {0x4A}), "");
  // Ids outside a byte never index the table.
  EXPECT_EQ(lastRoute(-1, {1}), "");
  EXPECT_EQ(lastRoute(0x141, {1}), "");
}

TEST_F(DispatcherTest, Report4AIsRoutedByLength) {
  EXPECT_EQ(lastRoute(0x4A, Bytes(9, 0)), "4A-ALT");
  EXPECT_EQ(lastRoute(0x4A, Bytes(20, 0)), "4A");
  EXPECT_EQ(lastRoute(0x4A, Bytes{}), "4A");
  EXPECT_EQ(lastRoute(0x4A, Bytes(8, 0)), "4A");
  EXPECT_EQ(lastRoute(0x4A, Bytes(10, 0)), "4A");
}

TEST_F(DispatcherTest, Report5FSegmentStatusAlwaysDiagnosticsOnlyInDeveloperMode) {
  EXPECT_FALSE(dispatcher.developerMode());
  EXPECT_EQ(lastRoute(0x5F, {0x11, 0x00}), "5F-11");
  EXPECT_EQ(lastRoute(0x5F, {0x02, 'x'}), "");
  EXPECT_EQ(lastRoute(0x5F, {0x00}), "");

  EXPECT_EQ(lastRoute(0x5F, {0xFF, 'x'}), "");

  dispatcher.setDeveloperMode(true);
  EXPECT_EQ(lastRoute(0x5F, {0x11, 0x00}), "5F-11");
  EXPECT_EQ(lastRoute(0x5F, {0xFF, 'x'}), "5F-FF");
  EXPECT_EQ(calls.back().payload, (Bytes{0xFF, 'x'}));
  EXPECT_EQ(lastRoute(0x5F, {0xFE}), "5F-FE");
  // Only the fatal messages have a layout among the diagnostic kinds.
  EXPECT_EQ(lastRoute(0x5F, {0x02, 'x'}), "");
}

TEST_F(DispatcherTest, EmptySuperAndSegmentReportsReachNoDecoder) {
  dispatcher.setDeveloperMode(true);
  QSignalSpy lamp(&dispatcher, &ReportDispatcher::packetReceived);
  // A stale byte behind the empty payload must not pick the route.
  const std::uint8_t stale[] = {0x11};
  dispatcher.dispatch(0x5F, stale, 0);
  const std::uint8_t staleSub[] = {0xAB};
  dispatcher.dispatch(0x8F, staleSub, 0);
  dispatcher.dispatch(0x8F, nullptr, 0);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(lamp.count(), 3);
  EXPECT_EQ(heartbeats, 3);
  EXPECT_EQ(recorded, (std::vector<Recorded>{{0x5F, {}}, {0x8F, {}}, {0x8F, {}}}));
}

TEST_F(DispatcherTest, UnknownSubCodeStillLightsTheLampAndRunsTheHooks) {
  QSignalSpy lamp(&dispatcher, &ReportDispatcher::packetReceived);
  feed(0x8F, {0x99, 0x01});
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(lamp.count(), 1);
  EXPECT_EQ(recorded, (std::vector<Recorded>{{0x8F, {0x99, 0x01}}}));
  EXPECT_EQ(heartbeats, 1);

  // Decoded packets run the hooks too, after their decoder.
  std::vector<std::string> order;
  dispatcher.setDecoder("46", [&](const std::uint8_t*, int) { order.push_back("decoder"); });
  dispatcher.setRecorder([&](int, const std::uint8_t*, int) { order.push_back("recorder"); });
  dispatcher.setHeartbeat([&] { order.push_back("heartbeat"); });
  feed(0x46, {0x00, 0x00});
  EXPECT_EQ(order, (std::vector<std::string>{"decoder", "recorder", "heartbeat"}));
  EXPECT_EQ(lamp.count(), 2);

  // Recording stopped: the recorder is cleared and no longer runs.
  order.clear();
  dispatcher.setRecorder(nullptr);
  feed(0x46, {});
  EXPECT_EQ(order, (std::vector<std::string>{"decoder", "heartbeat"}));
}

TEST_F(DispatcherTest, UnregisteredRoutesAreCountedButDecodeNothing) {
  ReportDispatcher bare;
  QSignalSpy lamp(&bare, &ReportDispatcher::packetReceived);
  int beats = 0;
  bare.setHeartbeat([&] { ++beats; });
  bare.setDeveloperMode(true);
  const std::uint8_t p[] = {0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  for (int id : {0x41, 0x4A, 0x5F, 0x8F}) bare.dispatch(id, p, 9);
  EXPECT_EQ(lamp.count(), 4);
  EXPECT_EQ(beats, 4);
}

TEST_F(DispatcherTest, RegistrationOutsideTheTableIsRefused) {
  // 0x58 is consumed by the almanac transfer; 0x8F and 0x5F only by sub-code.
  for (const char* key : {"58", "00", "44", "8F", "5F", "8F-99", "8E-AB", "5F-02", ""}) {
    EXPECT_FALSE(dispatcher.setDecoder(key, named("x"))) << key;
  }
  EXPECT_FALSE(dispatcher.setRowDecoder(-1, named("x")));
  EXPECT_FALSE(dispatcher.setRowDecoder(halvix::reports::ReportRoutes().size(), named("x")));
  const RouteTable& routes = halvix::reports::ReportRoutes();
  EXPECT_TRUE(routes.routesId(0x5F));
  EXPECT_TRUE(routes.routesId(0x8F));
  EXPECT_FALSE(routes.routesId(0x00));
  EXPECT_FALSE(routes.routesId(0x100));
  EXPECT_TRUE(routes.routesSubCode(0x8F, 0xAD));
  EXPECT_FALSE(routes.routesSubCode(0x8F, 0x99));
  EXPECT_FALSE(routes.routesSubCode(0x41, 0x00));
  // A refused registration leaves the table as it was.
  EXPECT_EQ(lastRoute(0x58, {}), "");

  // A dispatcher without routes decodes nothing and takes no decoder.
  ReportDispatcher bare;
  EXPECT_FALSE(bare.setDecoder("41", named("x")));
  EXPECT_FALSE(bare.setRowDecoder(0, named("x")));
}

// End to end: bytes on the wire, through PollPort, into the dispatcher.
class DispatcherOverLinkTest : public DispatcherTest, protected halvix::testing::ScriptedLink<1000> {
 protected:

  void SetUp() override {
    DispatcherTest::SetUp();
    ASSERT_EQ(link.OpenLink(QStringLiteral("/dev/test")), 0);
  }
  void poll() { link.PollPort(dispatcher.callback(), false); }
};

TEST_F(DispatcherOverLinkTest, FramesFromTheWireReachTheirDecoders) {
  QSignalSpy lamp(&dispatcher, &ReportDispatcher::packetReceived);
  device.queueRead({0x10, 0x8F, 0xAB, 0x10, 0x10, 0x05, 0x10, 0x03,   // 8F-AB, stuffed
                    0x10, 0x4A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0x03,  // 4A length 9
                    0x10, 0x5F, 0x02, 0x10, 0x03});                   // 5F, not developer
  poll();
  EXPECT_EQ(calls, (std::vector<Call>{{"8F-AB", {0xAB, 0x10, 0x05}},
                                      {"4A-ALT", Bytes(9, 0)}}));
  EXPECT_EQ(lamp.count(), 3);
  EXPECT_EQ(heartbeats, 3);
  ASSERT_EQ(recorded.size(), 3u);
  EXPECT_EQ(recorded[2], (Recorded{0x5F, {0x02}}));

  // The operator() form works the same way.
  calls.clear();
  device.queueRead({0x10, 0x41, 0x07, 0x10, 0x03});
  link.PollPort([this](SerialLink& l) { dispatcher(l); }, false);
  EXPECT_EQ(calls, (std::vector<Call>{{"41", {0x07}}}));
}

// An over-long frame is no packet: no lamp, no heartbeat, and nothing in a
// recording (not even an empty packet of id 0 where it ended).
TEST_F(DispatcherOverLinkTest, OverLongFrameIsDroppedWhole) {
  QSignalSpy lamp(&dispatcher, &ReportDispatcher::packetReceived);
  Bytes frame{0x10, 0x41};
  frame.insert(frame.end(), SerialLink::kPayloadSize, 0x55);
  frame.push_back(0x10);
  frame.push_back(0x03);
  device.queueRead(frame);
  poll();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(lamp.count(), 0);
  EXPECT_EQ(heartbeats, 0);
  EXPECT_TRUE(recorded.empty());

  // The parser recovers: the next frame is routed normally.
  device.queueRead({0x10, 0x46, 0x00, 0x00, 0x10, 0x03});
  poll();
  EXPECT_EQ(calls, (std::vector<Call>{{"46", {0x00, 0x00}}}));
}

TEST_F(DispatcherOverLinkTest, LongestPayloadIsDeliveredWhole) {
  // Sub-code and 510 DLE bytes, every one stuffed on the wire: 511 in all.
  Bytes stuffed{0x10, 0x8F, 0xAC};
  for (int i = 0; i < SerialLink::kPayloadSize - 2; ++i) {
    stuffed.push_back(0x10);
    stuffed.push_back(0x10);
  }
  stuffed.push_back(0x10);
  stuffed.push_back(0x03);
  device.queueRead(stuffed);
  poll();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].decoder, "8F-AC");
  EXPECT_EQ(calls[0].payload.size(), 511u);
  ASSERT_EQ(recorded.size(), 1u);
  EXPECT_EQ(recorded[0].payload.size(), 511u);
}
