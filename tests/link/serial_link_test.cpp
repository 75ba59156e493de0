#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "link/serial_link.h"
#include "tests/support/scripted_link.h"

using namespace halvix::link;
using halvix::testing::Bytes;
using halvix::testing::ScriptedDevice;

namespace {

struct Received {
  int id;
  Bytes payload;
};

class SerialLinkTest : public ::testing::Test, protected halvix::testing::ScriptedLink<1000> {
 protected:
  std::vector<Received> got;

  void SetUp() override { ASSERT_EQ(link.OpenLink(QStringLiteral("/dev/test")), 0); }

  SerialLink::PacketCallback collector() {
    return [this](SerialLink& l) {
      got.push_back({l.id, Bytes(l.payload.begin(), l.payload.begin() + l.completedLength)});
    };
  }
  void poll(bool stopOnFlag = false) { link.PollPort(collector(), stopOnFlag); }
  void send(const Bytes& b) { link.SendPacket(static_cast<int>(b.size()), b.data()); }
};

// Runs the event loop of this (the link's) thread until the other thread is
// done, as the GUI thread does while the diagnostics worker sends.
void JoinServing(SerialLink& link, std::thread& t, const std::atomic<bool>& done,
                 const std::function<void()>& meanwhile = {}) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done && std::chrono::steady_clock::now() < giveUp) {
    if (meanwhile) meanwhile();
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (!done) link.CancelHandovers(true);
  t.join();
}

// Splits the bytes written into frames; false if any write was not exactly one
// whole frame (DLE id ... DLE ETX).
bool WholeFrames(const std::vector<halvix::testing::Written>& writes, std::vector<Bytes>* frames) {
  for (const auto& w : writes) {
    const Bytes& b = w.bytes;
    if (b.size() < 4 || b[0] != kDle || b[b.size() - 2] != kDle || b.back() != kEtx) return false;
    Bytes unstuffed;
    for (std::size_t i = 1; i + 2 < b.size(); ++i) {
      if (b[i] == kDle) {
        if (i + 3 >= b.size() || b[i + 1] != kDle) return false;
        ++i;
      }
      unstuffed.push_back(b[i]);
    }
    frames->push_back(unstuffed);
  }
  return true;
}

}  // namespace

TEST_F(SerialLinkTest, OpenSetsNineSixHundredEightNoneOneAndResetsState) {
  ASSERT_EQ(device.lines().size(), 1u);
  EXPECT_EQ(device.lines()[0], (LineSettings{9600, 8, Parity::None, StopBits::One}));
  EXPECT_GE(device.purges(), 1);

  ScriptedDevice absent;
  absent.failOpen(true);
  SerialLink other(absent, clock);
  EXPECT_EQ(other.OpenLink(QStringLiteral("/dev/none")), -1);
  EXPECT_FALSE(absent.isOpen());
}

TEST_F(SerialLinkTest, ParsesFramesStuffingAndSplitReads) {
  device.queueRead({0x10, 0x41, 0x01, 0x02, 0x10, 0x03});
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, 0x41);
  EXPECT_EQ(got[0].payload, (Bytes{0x01, 0x02}));

  got.clear();
  device.queueRead({0x10, 0x8F, 0xAB, 0x10, 0x10, 0x05, 0x10, 0x03});
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].payload, (Bytes{0xAB, 0x10, 0x05}));

  // A frame split across two reads is assembled whole in the second call.
  got.clear();
  device.queueRead({0x10, 0x41, 0x01});
  device.queueRead({0x02, 0x10, 0x03});
  poll();
  EXPECT_TRUE(got.empty());
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].payload, (Bytes{0x01, 0x02}));

  // Garbage before a frame is thrown away by the DLE-id pair.
  got.clear();
  device.queueRead({0x55, 0x66, 0x10, 0x41, 0x07, 0x10, 0x03});
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].payload, (Bytes{0x07}));
  EXPECT_EQ(link.bytesReceived, 6u + 8u + 6u + 7u);
}

TEST_F(SerialLinkTest, LongestPayloadIs511Bytes) {
  Bytes frame{0x10, 0x5A};
  frame.insert(frame.end(), 511, 0x22);
  frame.insert(frame.end(), {0x10, 0x03});
  device.queueRead(frame);
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].payload.size(), 511u);

  // 512 payload bytes: the frame is dropped whole, its closing pair delivers
  // nothing, and the frame after it parses.
  got.clear();
  frame = {0x10, 0x5A};
  frame.insert(frame.end(), 512, 0x22);
  frame.insert(frame.end(), {0x10, 0x03, 0x10, 0x41, 0x08, 0x10, 0x03});
  device.queueRead(frame);
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, 0x41);
  EXPECT_EQ(got[0].payload, (Bytes{0x08}));

  // Line noise after a frame that happens to end in DLE ETX is not a packet
  // of the frame before it.
  got.clear();
  device.queueRead({0x10, 0x41, 0x01, 0x10, 0x03, 0x55, 0x10, 0x10, 0x66, 0x10, 0x03});
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].payload, (Bytes{0x01}));

  // A flood far past the buffer never writes beyond it and the next frame still parses.
  got.clear();
  Bytes flood(3 * SerialLink::kRawSize, 0x77);
  device.queueRead(flood);
  device.queueRead({0x10, 0x41, 0x09, 0x10, 0x03});
  for (int i = 0; i < 5; ++i) poll();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back().id, 0x41);
  EXPECT_EQ(got.back().payload, (Bytes{0x09}));
}

TEST_F(SerialLinkTest, StopOnFlagLosesTheRestOfTheRead) {
  device.queueRead({0x10, 0x58, 0x01, 0x10, 0x03, 0x10, 0x41, 0x02, 0x10, 0x03});
  link.replyFound = false;
  link.PollPort(
      [this](SerialLink& l) {
        got.push_back({l.id, {}});
        l.replyFound = true;
      },
      true);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, 0x58);
  // The waiting caller may still read the payload after PollPort returns.
  EXPECT_EQ(link.payload[0], 0x01);
  link.replyFound = false;
  poll();
  EXPECT_EQ(got.size(), 1u);
}

// A decoder's modal box lets the link timer fire inside the read: a read (or
// the break sequence's raw read) started there must leave the outer read's
// unparsed bytes alone, and what it would have read waits for the next poll.
TEST_F(SerialLinkTest, AReadStartedInsideAnotherLeavesItsBytesAlone) {
  device.queueRead({0x10, 0x41, 0x01, 0x10, 0x03, 0x10, 0x46, 0x02, 0x10, 0x03, 0x10, 0x4B, 0x03, 0x10, 0x03});
  int nestedResults = 0;
  link.PollPort(
      [&](SerialLink& l) {
        got.push_back({l.id, Bytes(l.payload.begin(), l.payload.begin() + l.completedLength)});
        if (l.id != 0x41) return;
        device.queueRead({0x10, 0x6D, 0x07, 0x10, 0x03});
        EXPECT_TRUE(l.reading());
        nestedResults += l.PollPort(collector(), false);
        nestedResults += l.ReadRaw();
      },
      false);
  EXPECT_EQ(nestedResults, 0);
  EXPECT_FALSE(link.reading());
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1].id, 0x46);
  EXPECT_EQ(got[1].payload, (Bytes{0x02}));
  EXPECT_EQ(got[2].id, 0x4B);
  poll();
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[3].id, 0x6D);
  EXPECT_EQ(got[3].payload, (Bytes{0x07}));
}

TEST_F(SerialLinkTest, SendFramesAndStuffs) {
  send({0x1F, 0x00, 0x00});
  send({0x8E, 0x4A, 0x10});
  send({0x10, 0x10});  // an id of 0x10 is stuffed too
  ASSERT_EQ(device.writes().size(), 3u);
  EXPECT_EQ(device.writes()[0].bytes, (Bytes{0x10, 0x1F, 0x00, 0x00, 0x10, 0x03}));
  EXPECT_EQ(device.writes()[1].bytes, (Bytes{0x10, 0x8E, 0x4A, 0x10, 0x10, 0x10, 0x03}));
  EXPECT_EQ(device.writes()[2].bytes, (Bytes{0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x03}));
}

TEST_F(SerialLinkTest, SendsArePacedAtLeast100msApartAndWaitOnlyAsNeeded) {
  int lamps = 0;
  QObject::connect(&link, &SerialLink::packetSent, [&] { ++lamps; });
  const std::int64_t t0 = clock.nowMs();
  send({0x21});
  EXPECT_EQ(device.writes()[0].atMs, t0);  // nothing sent before: no wait
  send({0x24});
  send({0x26});
  EXPECT_EQ(device.writes()[1].atMs - device.writes()[0].atMs, 100);
  EXPECT_EQ(device.writes()[2].atMs - device.writes()[1].atMs, 100);
  clock.advance(250);
  const std::int64_t before = clock.nowMs();
  send({0x3C, 0x00});
  EXPECT_EQ(device.writes()[3].atMs, before);
  EXPECT_EQ(lamps, 4);
}

TEST_F(SerialLinkTest, DisabledSendsAreDroppedWithoutWaitOrLamp) {
  int lamps = 0;
  QObject::connect(&link, &SerialLink::packetSent, [&] { ++lamps; });
  send({0x21});
  link.sendEnabled = false;
  const std::int64_t t = clock.nowMs();
  send({0x24});
  EXPECT_EQ(clock.nowMs(), t);
  EXPECT_EQ(device.writes().size(), 1u);
  EXPECT_EQ(lamps, 1);
}

TEST_F(SerialLinkTest, OversizedFrameIsRefusedNotOverrun) {
  // 300 bytes of 0x10 stuff to 600: more than the 512-byte frame.
  Bytes big{0x38};
  big.insert(big.end(), 300, 0x10);
  send(big);
  EXPECT_TRUE(device.writes().empty());
  // The largest frame that fits: id + 508 plain bytes + 3 = 512.
  Bytes fits{0x38};
  fits.insert(fits.end(), 508, 0x01);
  send(fits);
  ASSERT_EQ(device.writes().size(), 1u);
  EXPECT_EQ(device.writes()[0].bytes.size(), 512u);
}

TEST_F(SerialLinkTest, SendsFromTwoThreadsNeverInterleave) {
  SystemClock wall;
  ScriptedDevice dev(&wall);
  SerialLink l(dev, wall);
  ASSERT_EQ(l.OpenLink(QStringLiteral("x")), 0);
  const Bytes a{0x21}, b{0x8E, 0x10, 0x10};
  std::atomic<bool> done{false};
  std::thread t([&] {
    for (int i = 0; i < 3; ++i) l.SendPacket(static_cast<int>(b.size()), b.data());
    done = true;
  });
  for (int i = 0; i < 3; ++i) l.SendPacket(static_cast<int>(a.size()), a.data());
  JoinServing(l, t, done);
  ASSERT_EQ(dev.writes().size(), 6u);
  for (const auto& w : dev.writes()) {
    EXPECT_TRUE(w.bytes == (Bytes{0x10, 0x21, 0x10, 0x03}) ||
                w.bytes == (Bytes{0x10, 0x8E, 0x10, 0x10, 0x10, 0x10, 0x10, 0x03}));
  }
}

// Another thread's frames reach the device only on the link's thread, whole
// and paced, while that thread keeps reading a busy line and sending its own.
TEST_F(SerialLinkTest, AnotherThreadsSendsAreWrittenOnTheLinksThreadOnly) {
  const Bytes workerFrame{0x8E, 0x10, 0x15, 0x10};
  const Bytes ownFrame{0x3C, 0x00};
  const Bytes report{0x10, 0x41, 0x10, 0x10, 0x02, 0x10, 0x03};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 12; ++i) send(workerFrame);
    done = true;
  });
  int round = 0;
  JoinServing(link, worker, done, [&] {
    device.queueRead(report);
    poll();
    if (++round % 7 == 0) send(ownFrame);
  });
  EXPECT_EQ(device.callsFromOtherThreads(), 0);
  std::vector<Bytes> frames;
  ASSERT_TRUE(WholeFrames(device.writes(), &frames));
  EXPECT_EQ(std::count(frames.begin(), frames.end(), workerFrame), 12);
  EXPECT_EQ(std::count(frames.begin(), frames.end(), ownFrame) + 12, static_cast<long>(frames.size()));
  for (std::size_t i = 1; i < device.writes().size(); ++i)
    EXPECT_GE(device.writes()[i].atMs - device.writes()[i - 1].atMs, SerialLink::kSendSpacingMs) << i;
  for (const auto& r : got) EXPECT_EQ(r.payload, (Bytes{0x10, 0x02}));
}

TEST_F(SerialLinkTest, ApplyPortSettingsSetsLineCaptionAndDropsSendsMeanwhile) {
  device.onDrain = [this] { send({0x21}); };
  QString caption;
  EXPECT_EQ(link.ApplyPortSettings(PortSettings{0, 7, 3, 0, 0, 2, 2}, QStringLiteral("COM3"),
                                   [&](const QString& c) { caption = c; }),
            0);
  EXPECT_EQ(caption, QStringLiteral("COM3 9600, 8-None-1"));
  EXPECT_EQ(device.lines().back(), (LineSettings{9600, 8, Parity::None, StopBits::One}));
  EXPECT_TRUE(device.writes().empty());  // the send during the change was dropped
  EXPECT_TRUE(link.sendEnabled);

  EXPECT_EQ(link.ApplyPortSettings(PortSettings{0, 9, 3, 2, 1, 2, 2}, QStringLiteral("COM3"),
                                   [&](const QString& c) { caption = c; }),
            0);
  EXPECT_EQ(caption, QStringLiteral("COM3 38400, 8-Even-2"));
  EXPECT_EQ(device.lines().back(), (LineSettings{38400, 8, Parity::Even, StopBits::Two}));

  EXPECT_EQ(link.ApplyPortSettings(PortSettings{0, 0, 3, 1, 0, 2, 2}, QStringLiteral("COM3"),
                                   [&](const QString& c) { caption = c; }),
            0);
  EXPECT_EQ(caption, QStringLiteral("COM3 0000, 8-Odd-1"));
  EXPECT_EQ(device.lines().back().baud, 9600);

  // Codes outside the tables change nothing.
  const auto linesBefore = device.lines().size();
  EXPECT_EQ(link.ApplyPortSettings(PortSettings{0, 12, 3, 0, 0, 2, 2}, QStringLiteral("COM3"),
                                   [&](const QString& c) { caption = c; }),
            -1);
  EXPECT_EQ(device.lines().size(), linesBefore);
  EXPECT_EQ(caption, QStringLiteral("COM3 0000, 8-Odd-1"));

  device.failSetLine(true);
  EXPECT_EQ(link.ApplyPortSettings(PortSettings{0, 7, 3, 0, 0, 2, 2}, QStringLiteral("COM3"), {}), -1);
  EXPECT_TRUE(link.sendEnabled);
}

TEST_F(SerialLinkTest, RtsPulseAndLostDevice) {
  EXPECT_EQ(link.PulseRts(), 0);
  EXPECT_EQ(device.rtsEvents(), (std::vector<bool>{true, false}));
  device.failRts(true);
  EXPECT_EQ(link.PulseRts(), -1);
  EXPECT_EQ(device.rtsEvents().size(), 3u);  // no clear after a failed raise

  QStringList lost;
  QObject::connect(&link, &SerialLink::deviceLost, [&](const QString& m) { lost << m; });
  device.loseDevice();
  poll();
  poll();
  send({0x21});
  EXPECT_EQ(lost.size(), 1);
}

TEST_F(SerialLinkTest, AResourceErrorMidWriteClosesTheDeviceOnceAndSendsAreDroppedUntilItIsBack) {
  QStringList lost;
  QObject::connect(&link, &SerialLink::deviceLost, [&](const QString& m) { lost << m; });
  send({0x21});
  device.loseDevice();
  send({0x3C, 0x00});  // the write fails: the device is closed at once
  EXPECT_FALSE(device.isOpen());
  ASSERT_EQ(lost.size(), 1);
  EXPECT_TRUE(lost[0].contains(QStringLiteral("/dev/test")));

  // Nothing more reaches the device, and no send waits out the pacing.
  const std::int64_t before = clock.nowMs();
  for (int i = 0; i < 10; ++i) send({0x21});
  poll();
  EXPECT_EQ(clock.nowMs(), before);
  EXPECT_EQ(link.sendsDropped, 10u);
  EXPECT_EQ(device.writes().size(), 1u);
  EXPECT_EQ(lost.size(), 1);

  // Absent, it cannot be opened; back, it opens at 9600 8-None-1 and carries frames again.
  EXPECT_EQ(link.ReopenLink(), -1);
  EXPECT_TRUE(link.lost());
  device.restoreDevice();
  ASSERT_EQ(link.ReopenLink(), 0);
  EXPECT_FALSE(link.lost());
  EXPECT_EQ(device.lines().back(), (LineSettings{9600, 8, Parity::None, StopBits::One}));
  send({0x21});
  EXPECT_EQ(device.writes().size(), 2u);
  device.queueRead({0x10, 0x41, 0x09, 0x10, 0x03});
  poll();
  ASSERT_EQ(got.size(), 1u);

  // A second loss is reported again.
  device.loseDevice();
  poll();
  EXPECT_EQ(lost.size(), 2);
}

TEST_F(SerialLinkTest, AFloodKeepsOnlyTheNewestBoundOfInputAndCountsTheRest) {
  std::vector<std::uint64_t> notes;
  QObject::connect(&link, &SerialLink::inputOverflow, [&](std::uint64_t total) { notes.push_back(total); });
  const Bytes report = {0x10, 0x41, 0x09, 0x10, 0x03};
  const auto waiting = static_cast<std::size_t>(SerialLink::kPollInputBound) * 3;
  // The oldest report sits in the part that is dropped, the newest at the end.
  Bytes flood = report;
  flood.resize(waiting - report.size(), 0x77);
  flood.insert(flood.end(), report.begin(), report.end());
  device.queueRead(flood);
  poll();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, 0x41);
  EXPECT_EQ(link.inputDropped, waiting - SerialLink::kPollInputBound);
  EXPECT_EQ(notes, (std::vector<std::uint64_t>{waiting - SerialLink::kPollInputBound}));
  EXPECT_FALSE(device.hasPendingReads());

  // Within the bound, several buffers' worth is read in one poll and nothing is dropped.
  Bytes many;
  for (int i = 0; i < 3000; ++i) many.insert(many.end(), report.begin(), report.end());
  device.queueRead(many);
  got.clear();
  poll();
  EXPECT_EQ(got.size(), 3000u);
  EXPECT_EQ(notes.size(), 1u);
}
