// The receiver's port-settings line and what the negotiation makes of it, on a
// receiver session over a scripted port on virtual time.
#include <gtest/gtest.h>

#include "link/break_sequence.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "tests/support/scripted_device.h"

using namespace halvix::link;
using namespace halvix::session;
using namespace halvix::testing;

namespace {

struct Negotiations final : SessionObserver {
  std::vector<BreakForm> started, ended;
  void negotiationStarted(ReceiverSession&, BreakForm f) override { started.push_back(f); }
  void negotiationEnded(ReceiverSession&, BreakForm f) override { ended.push_back(f); }
};

class BreakSequenceTest : public ::testing::Test {
 protected:
  halvix::session::VirtualScheduler scheduler;
  ScriptedDevice* device = nullptr;
  std::unique_ptr<ReceiverSession> session;
  Negotiations seen;

  void SetUp() override {
    session.reset();
    seen = Negotiations{};
    auto d = std::make_unique<ScriptedDevice>(&scheduler.clock());
    device = d.get();
    halvix::session::SessionOptions options;
    options.port = QStringLiteral("x");
    session = std::make_unique<ReceiverSession>(std::move(d), scheduler, options);
    session->addObserver(&seen);
  }

  // The negotiation, with bytes queued for the step whose countdown is at.
  void negotiate(int at = -1, const QByteArray& bytes = {}) {
    ASSERT_TRUE(session->start());
    for (int i = 0; i < 200 && session->state() != SessionState::Polling; ++i) {
      if (session->breakCountdown() == at && session->negotiating()) {
        device->queueRead(Bytes(bytes.begin(), bytes.end()));
        at = -1;
      }
      scheduler.advance(50);
    }
    ASSERT_EQ(session->state(), SessionState::Polling);
  }
  // The settings of every set serial port command sent.
  std::vector<Bytes> setPortCommands() const {
    std::vector<Bytes> out;
    for (const auto& w : device->writes()) {
      if (w.bytes.size() > 12 && w.bytes[1] == 0xBC) out.emplace_back(w.bytes.begin() + 2, w.bytes.begin() + 12);
    }
    return out;
  }
};

}  // namespace

TEST_F(BreakSequenceTest, LinesAndTheSettingsBothSidesTake) {
  struct Case {
    const char* name;
    int at;  // countdown step the bytes arrive at; -1 for none
    QByteArray bytes;
    Bytes settings;  // port, in baud, out baud, data bits, parity, stop bits, protocols
    LineSettings pcLine;
  };
  const Case cases[] = {
      // Silence: the receiver's defaults, 9600 8-Odd-1.
      {"no line", -1, {}, {0xFF, 7, 7, 3, 1, 0, 0, 2, 2, 0}, {9600, 8, Parity::Odd, StopBits::One}},
      // Data bits are always eight on the PC side's request, whatever the line said.
      {"parsed", 6, "junk PRTS;x,1,y,19200,7,1,N,z\r\n", {0xFF, 8, 8, 3, 0, 0, 0, 2, 2, 0},
       {19200, 8, Parity::None, StopBits::One}},
      // A baud rate outside the table: the defaults; found while BREAK is held.
      {"bad baud", 10, "PR;x,1,y,57600,8,1,N,z", {0xFF, 7, 7, 3, 1, 0, 0, 2, 2, 0},
       {9600, 8, Parity::Odd, StopBits::One}},
      // "PR" cut at the end of a read is never read past.
      {"partial", 5, "xP", {0xFF, 7, 7, 3, 1, 0, 0, 2, 2, 0}, {9600, 8, Parity::Odd, StopBits::One}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    negotiate(c.at, c.bytes);
    ASSERT_EQ(setPortCommands().size(), 1u);
    EXPECT_EQ(setPortCommands()[0], c.settings);
    EXPECT_EQ(device->lines().back(), c.pcLine);
    // BREAK raised once and never left held.
    EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false}));
    EXPECT_EQ(seen.started, std::vector<BreakForm>{BreakForm::Full});
    EXPECT_EQ(seen.ended, std::vector<BreakForm>{BreakForm::Full});
  }
}

TEST_F(BreakSequenceTest, ParserStopsAtTheFirstBadFieldKeepingEarlierOnes) {
  PortSettings s{0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(ParsePortSettingsLine("PR no semicolon", s));
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,2,y,9600,8,1,N,", s));  // field 2 must be 0 or 1
  EXPECT_EQ(s.baudCode, 0);
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,1,y,4800,8,3,N,", s));  // stop bits 3
  EXPECT_EQ(s.baudCode, 6);
  EXPECT_EQ(s.dataBitsCode, 3);
  EXPECT_EQ(s.stopBitsCode, 0);
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,1,y,38400,7,2,O", s));  // parity field needs a comma after it
  EXPECT_EQ(s.baudCode, 9);
  EXPECT_EQ(s.parityCode, 0);
  EXPECT_TRUE(ParsePortSettingsLine("PR;x,1,y,38400,7,2,O,", s));
  EXPECT_EQ(s.parityCode, 1);
  EXPECT_TRUE(ParsePortSettingsLine("PR;a,0,b,9600,7,2,E,", s));
  EXPECT_EQ(s.dataBitsCode, 2);
  EXPECT_EQ(s.stopBitsCode, 1);
  EXPECT_EQ(s.parityCode, 2);
  PortSettings unparsed{};
  EXPECT_FALSE(ParsePortSettingsLine("PR;x,1,y,57600,8,1,N,z", unparsed));
  EXPECT_EQ(unparsed.dataBitsCode, 0);
}

// "Send Break": BREAK raised and released beside the poll cycle; no settings
// are sent and the PC line stays at 9600 8-None-1.
TEST_F(BreakSequenceTest, TheShortFormEndsWithBreakReleased) {
  negotiate();
  device->clearWrites();
  const auto lines = device->lines().size();
  session->sendBreak();
  EXPECT_EQ(device->lines().back(), (LineSettings{9600, 8, Parity::None, StopBits::One}));
  scheduler.advance(5000);
  EXPECT_EQ(device->breakEvents(), (std::vector<bool>{true, false, true, false}));
  EXPECT_TRUE(setPortCommands().empty());
  EXPECT_EQ(device->lines().size(), lines + 1);
  EXPECT_EQ(seen.started.back(), BreakForm::Short);
  EXPECT_EQ(seen.ended.back(), BreakForm::Short);
  EXPECT_FALSE(session->negotiating());
  EXPECT_EQ(session->state(), SessionState::Polling);
}
