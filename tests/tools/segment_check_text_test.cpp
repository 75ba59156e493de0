// The segment check's verdict from the values read back, and its worker
// beside the link.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>

#include "tests/support/scripted_device.h"
#include "tools/diagnostics_segment_check.h"

using namespace halvix::tools;

namespace {

TEST(SegmentCheckText, NamesEveryValueStillAtTheTestSetting) {
  const ReadBackValues defaults{0.0f, 0, 1, 0, 3, 2000, 1};
  const ReadBackValues written{100.7f, 5, 0, 0, 2, 100, 10};
  const QString header = QStringLiteral("Some segments not returned to default:\r\n");
  const struct {
    const char* name;
    ReadBackValues values;
    int testPort;
    QString text;
  } cases[] = {
      {"all back", defaults, 0, QStringLiteral("All segments returned to default:\r\n")},
      {"all kept, port A", written, 0,
       header + QStringLiteral(" Receiver Configuration:  Reference Altitude = 100.0\r\n"
                               " I/O Options:             Datum Index = 5\r\n"
                               " Serial Port Settings:    PortA Parity = none\r\n"
                               " Timing Outputs:          Output Options = Always\r\n"
                               " Self Survey Config:      Survey Limit = 100.0\r\n"
                               " NMEA Configuration:      Output Interval = 10\r\n")},
      {"port B is not checked for parity", ReadBackValues{0.0f, 0, 0, 0, 3, 2000, 1}, 1,
       QStringLiteral("All segments returned to default:\r\n")},
      {"altitude truncated", ReadBackValues{99.9f, 0, 1, 0, 3, 2000, 1}, 0,
       QStringLiteral("All segments returned to default:\r\n")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentCheckText(c.values, c.testPort), c.text) << c.name;
  }
}

}  // namespace

namespace {

using namespace halvix::link;
using halvix::testing::ScriptedDevice;
using halvix::reports::ReadBackFields;
using namespace halvix::tools;

// The worker beside a busy poll cycle: its queries reach the device on this
// (the link's) thread only, and when the device vanishes mid-check the worker
// touches nothing, runs out its rounds and ends; a stop while one of its
// queries waits for this thread returns at once.
TEST(SegmentCheckWorker, NeverTouchesTheDeviceAndEndsWhenItVanishes) {
  VirtualClock clock{0};
  ScriptedDevice device{&clock};
  SerialLink link{device, clock};
  ASSERT_EQ(link.OpenLink(QStringLiteral("/dev/test")), 0);
  int lost = 0;
  QObject::connect(&link, &SerialLink::deviceLost, [&] { ++lost; });
  ReadBackFields fields;
  SegmentCheckWorker worker;
  std::atomic<int> outcome{-1};
  ASSERT_TRUE(worker.start(link, fields, 0, [&](const SegmentCheckOutcome& o) {
    outcome = static_cast<int>(o.kind);
  }));
  int packets = 0;
  std::size_t writtenAtLoss = 0;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (worker.running() && std::chrono::steady_clock::now() < giveUp) {
    if (device.writes().size() >= 8 && writtenAtLoss == 0) {
      writtenAtLoss = device.writes().size();
      device.loseDevice();
    }
    device.queueRead({0x10, 0x8F, 0xAC, 0x10, 0x10, 0x10, 0x03});
    link.PollPort([&](SerialLink&) { ++packets; }, false);
    QCoreApplication::processEvents();
  }
  worker.stop();
  EXPECT_EQ(outcome, static_cast<int>(SegmentCheckOutcome::Kind::NotRetrieved));
  EXPECT_EQ(device.callsFromOtherThreads(), 0);
  EXPECT_EQ(device.writes().size(), writtenAtLoss);
  EXPECT_EQ(lost, 1);
  EXPECT_GT(link.sendsDropped, 0u);
  EXPECT_GT(packets, 0);

  // Restarted on a device that is back, then stopped while a query waits for
  // this thread (which is not serving its events).
  device.restoreDevice();
  ASSERT_EQ(link.ReopenLink(), 0);
  device.clearWrites();
  ASSERT_TRUE(worker.start(link, fields, 0, {}));
  worker.stop();
  EXPECT_FALSE(worker.running());
  QCoreApplication::processEvents();
  EXPECT_TRUE(device.writes().empty());
  EXPECT_EQ(device.callsFromOtherThreads(), 0);
}

}  // namespace
