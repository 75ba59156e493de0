#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "reports/timing_layouts.h"
#include "session/receiver_session.h"
#include "sim/simulated_device.h"
#include "tests/support/pullable_device.h"
#include "tests/support/scripted_device.h"

using namespace halvix;
using namespace halvix::session;
using namespace halvix::testing;

namespace {

session::SessionOptions Options(const char* port) {
  session::SessionOptions o;
  o.port = QString::fromLatin1(port);
  return o;
}

// The first byte inside a frame: the packet id (0x8E frames are named by their sub-code too).
int FrameId(const Bytes& frame) { return frame.size() > 1 ? frame[1] : -1; }

// Counts what a session reports.
struct Tally final : SessionObserver {
  std::map<int, int> byId;
  int supplemental = 0;
  std::vector<SessionState> states;
  int losses = 0;
  std::int64_t lastPacketMs = -1;
  session::Scheduler* scheduler = nullptr;
  void stateChanged(ReceiverSession&, SessionState s) override { states.push_back(s); }
  void packetReceived(ReceiverSession&, int id, const std::uint8_t* payload, int length) override {
    ++byId[id];
    if (id == 0x8F && reports::DecodeSupplementalTiming(payload, length)) ++supplemental;
    if (scheduler != nullptr) lastPacketMs = scheduler->nowMs();
  }
  void deviceLost(ReceiverSession&, const QString&) override { ++losses; }
};

class ScriptedSession : public ::testing::Test {
 protected:
  session::VirtualScheduler scheduler;
  ScriptedDevice* device = nullptr;
  std::unique_ptr<ReceiverSession> session;
  Tally tally;

  void SetUp() override {
    auto d = std::make_unique<ScriptedDevice>(&scheduler.clock());
    device = d.get();
    session = std::make_unique<ReceiverSession>(
        std::move(d), scheduler, session::SessionOptions{QStringLiteral("/dev/ttyX"), QStringLiteral("X")});
    session->addObserver(&tally);
  }
};

}  // namespace

// The break sequence on the wire, on the design's timing, while the thread is never held.
TEST_F(ScriptedSession, SilentReceiverIsNegotiatedToItsDefaultsThenPolled) {
  ASSERT_TRUE(session->start());
  EXPECT_EQ(session->state(), SessionState::Negotiating);
  scheduler.advance(6500);
  EXPECT_EQ(session->state(), SessionState::Polling);
  EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false}));
  const auto& w = device->writes();
  ASSERT_GE(w.size(), 3u);
  // Version query one tick after BREAK is released; the settings 3 s after the thirteenth tick.
  EXPECT_EQ(FrameId(w[0].bytes), 0x1F);
  EXPECT_EQ(w[0].atMs, 1200);
  EXPECT_EQ(FrameId(w[1].bytes), 0xBC);
  EXPECT_EQ(w[1].atMs, 5600);
  EXPECT_EQ(Bytes(w[1].bytes.begin() + 1, w[1].bytes.begin() + 12),
            (Bytes{0xBC, 0xFF, 7, 7, 3, 1, 0, 0, 2, 2, 0}));
  // The PC follows 200 ms later: 9600 8-Odd-1.
  ASSERT_GE(device->lines().size(), 2u);
  EXPECT_EQ(device->lines().back(), (link::LineSettings{9600, 8, link::Parity::Odd, link::StopBits::One}));
  EXPECT_EQ(session->lineCaption(), QStringLiteral("X 9600, 8-Odd-1"));
  // Polling: the first tick runs phase 1, the tracking status query.
  EXPECT_EQ(FrameId(w[2].bytes), 0x3C);
  // Frames never closer than 100 ms.
  for (std::size_t i = 1; i < w.size(); ++i) EXPECT_GE(w[i].atMs - w[i - 1].atMs, 100) << i;
}

TEST_F(ScriptedSession, PortSettingsLineSetsBothSidesAndEndsTheSequenceEarly) {
  ASSERT_TRUE(session->start());
  scheduler.advance(1300);  // past the version query
  const QByteArray line("PR;x,1,y,19200,8,1,N,z\r\n");
  device->queueRead(Bytes(line.begin(), line.end()));
  scheduler.advance(200);  // found at the tick at 1400
  scheduler.advance(3300);
  EXPECT_EQ(session->state(), SessionState::Polling);
  const auto& w = device->writes();
  ASSERT_GE(w.size(), 2u);
  EXPECT_EQ(w[1].atMs, 4400);
  EXPECT_EQ(Bytes(w[1].bytes.begin() + 1, w[1].bytes.begin() + 7), (Bytes{0xBC, 0xFF, 8, 8, 3, 0}));
  EXPECT_EQ(device->lines().back(), (link::LineSettings{19200, 8, link::Parity::None, link::StopBits::One}));
}

TEST_F(ScriptedSession, VanishedDeviceIsRetriedEveryTwoSecondsAndNegotiatedAgain) {
  ASSERT_TRUE(session->start());
  scheduler.advance(7000);
  ASSERT_EQ(session->state(), SessionState::Polling);
  device->loseDevice();
  scheduler.advance(200);
  EXPECT_EQ(session->state(), SessionState::Waiting);
  EXPECT_EQ(tally.losses, 1);
  // Commands meanwhile are dropped, not queued for a device that is gone.
  const auto written = device->writes().size();
  session->send([](link::SerialLink& l) { const std::uint8_t b[1] = {0x1F}; l.SendPacket(1, b); });
  scheduler.advance(10'000);
  EXPECT_EQ(device->writes().size(), written);
  EXPECT_EQ(session->state(), SessionState::Waiting);
  device->restoreDevice();
  scheduler.advance(2000);
  EXPECT_EQ(session->state(), SessionState::Negotiating);
  EXPECT_EQ(session->reconnects(), 1u);
  scheduler.advance(6000);
  EXPECT_EQ(session->state(), SessionState::Polling);
  EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false, true, false}));
}

TEST_F(ScriptedSession, DeviceAbsentAtStartIsOpenedWhenItAppears) {
  device->failOpen(true);
  EXPECT_FALSE(session->start());
  EXPECT_EQ(session->state(), SessionState::Waiting);
  scheduler.advance(4100);
  device->failOpen(false);
  scheduler.advance(2000);
  EXPECT_EQ(session->state(), SessionState::Negotiating);
  EXPECT_EQ(session->reconnects(), 0u);
}

TEST_F(ScriptedSession, ReceiverSilentWhilePolledIsNegotiatedAgain) {
  ASSERT_TRUE(session->start());
  scheduler.advance(6000);
  ASSERT_EQ(session->state(), SessionState::Polling);
  scheduler.advance(ReceiverSession::kSilenceMs + 400);
  EXPECT_EQ(session->state(), SessionState::Negotiating);
  EXPECT_EQ(device->breakEvents().size(), 3u);  // BREAK raised again
  // ... on the line the receiver answers a BREAK with, not the one negotiated before.
  EXPECT_EQ(device->lines().back(), (link::LineSettings{9600, 8, link::Parity::None, link::StopBits::One}));
}

TEST_F(ScriptedSession, StopReleasesABreakAndClosesTheDevice) {
  ASSERT_TRUE(session->start());
  scheduler.advance(300);  // BREAK held
  session->stop();
  EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false}));
  EXPECT_FALSE(device->isOpen());
  EXPECT_EQ(scheduler.pending(), 0u);
}

// Two simulated receivers in one process on virtual time: each is negotiated
// and polled on its own, and one that vanishes neither holds up nor disturbs the other.
TEST(TwoSessions, TwoSimulatedReceiversRunSideBySide) {
  session::VirtualScheduler scheduler;
  auto pullable = std::make_unique<PullableDevice>(sim::CreateSimulatedDevice(QStringLiteral("corvel"), scheduler.clock()));
  PullableDevice* corvelDevice = pullable.get();
  ReceiverSession corvel(std::move(pullable), scheduler, Options("sim:corvel"));
  ReceiverSession brisel(sim::CreateSimulatedDevice(QStringLiteral("brisel"), scheduler.clock()), scheduler,
                         Options("sim:brisel"));
  Tally a, b;
  a.scheduler = b.scheduler = &scheduler;
  corvel.addObserver(&a);
  brisel.addObserver(&b);
  ASSERT_TRUE(corvel.start());
  ASSERT_TRUE(brisel.start());
  scheduler.advance(20'000);
  EXPECT_EQ(corvel.state(), SessionState::Polling);
  EXPECT_EQ(brisel.state(), SessionState::Polling);
  for (Tally* t : {&a, &b}) {
    EXPECT_GE(t->supplemental, 10);
    EXPECT_GE(t->byId[0x45], 1);  // software version, asked twice
    EXPECT_GE(t->byId[0x6D], 5);
    EXPECT_GE(t->byId[0x5C], 5);
  }
  corvelDevice->pull();
  const int briselBefore = b.supplemental;
  scheduler.advance(10'000);
  EXPECT_EQ(corvel.state(), SessionState::Waiting);
  EXPECT_EQ(brisel.state(), SessionState::Polling);
  EXPECT_GE(b.supplemental - briselBefore, 8);
  EXPECT_LT(scheduler.nowMs() - b.lastPacketMs, 1000);
  corvelDevice->putBack();
  const int corvelBefore = a.supplemental;
  scheduler.advance(15'000);
  EXPECT_EQ(corvel.state(), SessionState::Polling);
  EXPECT_EQ(corvel.reconnects(), 1u);
  EXPECT_GT(a.supplemental, corvelBefore);
}

// The link's own send spacing waits on the clock; sessions must never reach
// it, or one receiver's sends would move the shared clock under the others.
TEST(TwoSessions, NegotiationOfOneKeepsTheOthersPollsOnTheirGrid) {
  session::VirtualScheduler scheduler;
  auto d = std::make_unique<ScriptedDevice>(&scheduler.clock());
  ScriptedDevice* polled = d.get();
  ReceiverSession first(std::move(d), scheduler, Options("a"));
  ASSERT_TRUE(first.start());
  scheduler.advance(6000);
  ASSERT_EQ(first.state(), SessionState::Polling);
  polled->clearWrites();
  ReceiverSession second(std::make_unique<ScriptedDevice>(&scheduler.clock()), scheduler, Options("b"));
  ASSERT_TRUE(second.start());
  scheduler.advance(6000);  // the whole break sequence of the second
  const auto& w = polled->writes();
  ASSERT_GE(w.size(), 20u);
  for (std::size_t i = 1; i < w.size(); ++i) {
    // Ticks every 200 ms, a second send of a tick 100 ms after the first, quiet phases between.
    const auto gap = w[i].atMs - w[i - 1].atMs;
    EXPECT_TRUE(gap >= 100 && gap <= 400 && gap % 100 == 0) << "gap " << gap << " at " << i;
  }
}

// Negotiating again (the serial window's Send Break, or a long silence) ends in polling again.
TEST(SimulatedSession, NegotiatedAgainItIsPolledAgain) {
  session::VirtualScheduler scheduler;
  ReceiverSession s(sim::CreateSimulatedDevice(QStringLiteral("corvel"), scheduler.clock()), scheduler,
                    Options("sim:corvel"));
  Tally t;
  t.scheduler = &scheduler;
  s.addObserver(&t);
  std::uint64_t recorded = 0;
  s.setRecorder([&recorded](int, const std::uint8_t*, int) { ++recorded; });
  ASSERT_TRUE(s.start());
  scheduler.advance(15'000);
  EXPECT_EQ(recorded, s.packetsReceived());  // the recorder hook sees every packet
  EXPECT_GT(recorded, 30u);
  ASSERT_EQ(s.state(), SessionState::Polling);
  s.restartNegotiation();
  EXPECT_EQ(s.state(), SessionState::Negotiating);
  scheduler.advance(10'000);
  EXPECT_EQ(s.state(), SessionState::Polling);
  EXPECT_LT(scheduler.nowMs() - t.lastPacketMs, 1500);
}

// The first seven ticks of polling, with and without the timing packets, as
// the operator sees them on the wire: the start-up queries on ticks 3 and 4,
// each followed 100 ms later by that tick's round-robin query.
TEST_F(ScriptedSession, PollCycleQueriesInOrder) {
  const auto name = [](const Bytes& f) {
    if (f.size() < 3) return QString();
    if (f[1] == 0x8E) return QStringLiteral("8E-%1").arg(f[2], 2, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("%1").arg(f[1], 2, 16, QLatin1Char('0')).toUpper();
  };
  const struct {
    bool timing;
    QStringList expected;
  } cases[] = {
      {false, {"3C", "1F", "21", "8E-42", "26", "8E-0B", "24", "3C"}},
      {true, {"3C", "1F", "8E-AB", "8E-42", "8E-AB", "24", "3C"}},
  };
  for (const auto& c : cases) {
    session->stop();
    session->setPollTimingPackets(c.timing);
    ASSERT_TRUE(session->start());
    scheduler.advance(5810);  // polling starts 5805 ms after the start
    ASSERT_EQ(session->state(), SessionState::Polling);
    device->clearWrites();
    scheduler.advance(7 * 200);
    QStringList sent;
    for (const auto& w : device->writes()) sent << name(w.bytes);
    EXPECT_EQ(sent, c.expected) << c.timing;
  }
}

namespace {

// What a window would follow: the negotiations and the status-bar caption.
struct Negotiations final : SessionObserver {
  Negotiations(ReceiverSession& observed, session::Scheduler& s) : scheduler(&s) { observed.addObserver(this); }
  session::Scheduler* scheduler = nullptr;
  std::vector<std::pair<std::int64_t, QString>> events;
  int ticks = 0;
  void negotiationStarted(ReceiverSession&, session::BreakForm f) override {
    events.emplace_back(scheduler->nowMs(), f == session::BreakForm::Short ? "start short" : "start full");
  }
  void negotiationEnded(ReceiverSession&, session::BreakForm f) override {
    events.emplace_back(scheduler->nowMs(), f == session::BreakForm::Short ? "end short" : "end full");
  }
  void lineCaptionChanged(ReceiverSession&, const QString& caption) override {
    events.emplace_back(scheduler->nowMs(), caption);
  }
  void pollTickStarted(ReceiverSession&) override { ++ticks; }
};

}  // namespace

// "Send Break" while polled: the PC line drops to 9600 8-None-1 at once, BREAK
// is raised 400 ms later and released four ticks on; polling never stops, and
// without a settings line nothing is sent to the receiver's port.
TEST_F(ScriptedSession, SendBreakIsTheShortFormBesideThePollCycle) {
  Negotiations seen(*session, scheduler);
  ASSERT_TRUE(session->start());
  scheduler.advance(8000);
  ASSERT_EQ(session->state(), SessionState::Polling);
  seen.events.clear();
  device->clearWrites();
  const std::int64_t t0 = scheduler.nowMs();
  const int ticksBefore = seen.ticks;
  session->sendBreak();
  EXPECT_EQ(device->lines().back(), (link::LineSettings{9600, 8, link::Parity::None, link::StopBits::One}));
  scheduler.advance(399);
  EXPECT_EQ(device->breakEvents().size(), 2u);
  scheduler.advance(1);
  EXPECT_EQ(device->breakEvents().size(), 3u);  // raised
  scheduler.advance(799);
  EXPECT_EQ(device->breakEvents().size(), 3u);
  scheduler.advance(1);
  EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false, true, false}));
  scheduler.advance(6000);
  EXPECT_EQ(session->state(), SessionState::Polling);
  EXPECT_FALSE(session->negotiating());
  EXPECT_EQ(seen.events, (std::vector<std::pair<std::int64_t, QString>>{
                             {t0, "X 9600, 8-None-1"}, {t0 + 400, "start short"}, {t0 + 1200, "end short"}}));
  // The poll cycle ran on throughout: a tick every 200 ms, no settings command, no version query.
  EXPECT_EQ(seen.ticks - ticksBefore, 36);
  for (const auto& w : device->writes()) {
    EXPECT_NE(FrameId(w.bytes), 0xBC);
    EXPECT_NE(FrameId(w.bytes), 0x1F);
  }
}

// A settings line inside the short form's ticks is applied as in a full
// negotiation: 0xBC 3 s later, the PC line 200 ms after it, and the poll cycle
// carries on on its grid rather than starting a second time.
TEST_F(ScriptedSession, SettingsLineDuringSendBreakIsApplied) {
  Negotiations seen(*session, scheduler);
  ASSERT_TRUE(session->start());
  scheduler.advance(8000);
  session->sendBreak();
  scheduler.advance(700);  // BREAK raised at 400; the next tick at 800 reads the line
  const QByteArray line("PR;x,1,y,19200,8,1,N,z\r\n");
  device->queueRead(Bytes(line.begin(), line.end()));
  device->clearWrites();
  seen.events.clear();
  const int ticksBefore = seen.ticks;
  scheduler.advance(5000);
  EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false, true, false}));
  int settingsSent = 0;
  for (const auto& w : device->writes()) {
    if (FrameId(w.bytes) != 0xBC) continue;
    ++settingsSent;
    EXPECT_EQ(w.atMs, 8000 + 800 + 3000);
  }
  EXPECT_EQ(settingsSent, 1);
  EXPECT_EQ(device->lines().back(), (link::LineSettings{19200, 8, link::Parity::None, link::StopBits::One}));
  EXPECT_EQ(session->lineCaption(), QStringLiteral("X 19200, 8-None-1"));
  ASSERT_FALSE(seen.events.empty());
  EXPECT_EQ(seen.events.back().second, QStringLiteral("end short"));
  EXPECT_EQ(seen.ticks - ticksBefore, 25);
  EXPECT_EQ(session->state(), SessionState::Polling);
}

// The serial window's "Change PC settings to match?": the line and caption follow
// at once; codes outside the tables change nothing; a session away sets nothing.
TEST_F(ScriptedSession, PortSettingsAppliedToThePcSide) {
  ASSERT_TRUE(session->start());
  scheduler.advance(8000);
  link::PortSettings even;
  even.baudCode = 8;
  even.dataBitsCode = 3;
  even.parityCode = 2;
  EXPECT_TRUE(session->applyPortSettings(even));
  EXPECT_EQ(device->lines().back(), (link::LineSettings{19200, 8, link::Parity::Even, link::StopBits::One}));
  EXPECT_EQ(session->lineCaption(), QStringLiteral("X 19200, 8-Even-1"));
  const auto linesBefore = device->lines().size();
  link::PortSettings bad = even;
  bad.baudCode = 12;
  EXPECT_FALSE(session->applyPortSettings(bad));
  EXPECT_EQ(device->lines().size(), linesBefore);
  EXPECT_EQ(session->lineCaption(), QStringLiteral("X 19200, 8-Even-1"));
  // Sends go on after the line change.
  device->clearWrites();
  scheduler.advance(1200);
  EXPECT_GE(device->writes().size(), 4u);
  session->stop();
  EXPECT_FALSE(session->applyPortSettings(even));
}

// A display reset reads the reports already waiting before it blanks: receive()
// dispatches them between ticks; a stopped session reads nothing.
TEST_F(ScriptedSession, ReceiveDispatchesWhatWaitsBetweenTicks) {
  ASSERT_TRUE(session->start());
  scheduler.advance(8010);  // just after a tick
  ASSERT_EQ(session->state(), SessionState::Polling);
  const Bytes frame{0x10, 0x41, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0x10, 0x03};
  device->queueRead(frame);
  session->receive();
  EXPECT_EQ(tally.byId[0x41], 1);
  session->stop();
  device->queueRead(frame);
  session->receive();
  EXPECT_EQ(tally.byId[0x41], 1);
}

// While a transfer owns the link the poll cycle sends nothing and does not take
// the quiet for a silent receiver; released, it goes on without a new BREAK.
TEST_F(ScriptedSession, HeldPollCycleStaysQuietAndResumes) {
  Negotiations seen(*session, scheduler);
  ASSERT_TRUE(session->start());
  scheduler.advance(8000);
  session->holdPolling(true);
  scheduler.advance(200);  // a send queued by the last tick may still leave
  device->clearWrites();
  const int ticks = seen.ticks;
  scheduler.advance(ReceiverSession::kSilenceMs + 5000);
  EXPECT_TRUE(device->writes().empty());
  EXPECT_EQ(seen.ticks, ticks);
  EXPECT_EQ(session->state(), SessionState::Polling);
  session->holdPolling(false);
  scheduler.advance(1200);
  EXPECT_EQ(seen.ticks - ticks, 6);
  EXPECT_GE(device->writes().size(), 4u);
  EXPECT_EQ(device->breakEvents().size(), 2u);
  EXPECT_EQ(session->state(), SessionState::Polling);
}

namespace {

// A decoder that opens a modal box: the event loop runs inside the read.
struct ModalBoxOnVersion final : SessionObserver {
  session::VirtualScheduler* scheduler = nullptr;
  ScriptedDevice* device = nullptr;
  std::size_t writesInside = 0;
  int ticksInside = 0;
  int ticks = 0;
  void pollTickStarted(ReceiverSession&) override { ++ticks; }
  void packetReceived(ReceiverSession&, int id, const std::uint8_t*, int) override {
    if (id != 0x45) return;
    const auto before = device->writes().size();
    const int ticksBefore = ticks;
    scheduler->advance(1000);
    writesInside = device->writes().size() - before;
    ticksInside = ticks - ticksBefore;
  }
};

}  // namespace

// Ticks that fall inside a read are skipped whole: no lamps aged, no query sent
// into the middle of a reply being shown; afterwards the cycle keeps its grid.
TEST_F(ScriptedSession, TicksInsideAReadAreSkipped) {
  ModalBoxOnVersion box;
  box.scheduler = &scheduler;
  box.device = device;
  session->addObserver(&box);
  ASSERT_TRUE(session->start());
  scheduler.advance(8010);
  scheduler.advance(200);  // the last tick's second send leaves
  device->queueRead(Bytes{0x10, 0x45, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0x10, 0x03});
  session->receive();
  EXPECT_EQ(box.ticksInside, 0);
  EXPECT_EQ(box.writesInside, 0u);
  const int ticks = box.ticks;
  scheduler.advance(1000);
  EXPECT_EQ(box.ticks - ticks, 5);
}
