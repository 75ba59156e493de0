// Halvix and the simulated receiver on virtual time: the start-up break
// sequence, then the poll cycle, through a receiver that falls silent and
// comes back.
#include <gtest/gtest.h>

#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "link/clock.h"
#include "widgets/value_panel.h"
#include "sim/simulated_device.h"
#include "tests/integration/sim_link.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

using Bytes = std::vector<std::uint8_t>;

class StartupPollTest : public ::testing::Test {
 protected:
  session::VirtualScheduler scheduler{0};
  link::VirtualClock& clock = scheduler.virtualClock();
  ScriptedPrompts prompts;
  // An NTP server is on record: the timing packets stay unpolled and nobody is asked.
  halvix::testing::MemorySettings settings;
  SwitchedSimDevice* sim = nullptr;
  std::unique_ptr<app::Program> program;

  void SetUp() override {
    settings.setNtp(QStringLiteral("1"));
    program = std::make_unique<app::Program>(app::ProgramSeams{
        prompts, scheduler, [] { return std::optional<int>(); },
        [this](const app::PortChoice& port, link::Clock& c) -> std::unique_ptr<link::SerialDevice> {
          auto dev = std::make_unique<SwitchedSimDevice>(
              sim::CreateSimulatedDevice(port.persona, c), c);
          sim = dev.get();
          return dev;
        },
        nullptr, &settings});
    ASSERT_TRUE(program->start({QStringLiteral("--simulate")}));
    ASSERT_NE(sim, nullptr);
  }

  app::TForm_Main& main() { return *program->mainWindow(); }

  // Runs the break sequence to its end; how long it took.
  std::int64_t runBreakSequence() {
    const std::int64_t from = clock.nowMs();
    for (int i = 0; i < 1000 && program->session()->state() != session::SessionState::Polling; ++i) {
      scheduler.advance(10);
    }
    return clock.nowMs() - from;
  }

  void runPollTicks(int n) { scheduler.advance(200LL * n); }
};

}  // namespace

TEST_F(StartupPollTest, StartUpNegotiatesThenPollsAndSurvivesSilence) {
  EXPECT_EQ(program->session()->state(), session::SessionState::Negotiating);
  // At most thirteen 200 ms steps, the 3 s before set serial port and the
  // 200 ms after it.
  const std::int64_t negotiated = runBreakSequence();
  EXPECT_EQ(program->session()->state(), session::SessionState::Polling);
  EXPECT_GE(negotiated, 3200);
  EXPECT_LE(negotiated, 13 * 200 + 3200 + 20);

  // The sequence ends with set serial port for the command's own port and the
  // receiver's settings; the PC follows.
  const auto& frames = sim->frames();
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ(frames.front().bytes, (Bytes{0x1F, 0x00, 0x00}));
  const Bytes setPort = frames.back().bytes;
  ASSERT_EQ(setPort.size(), 11u);
  EXPECT_EQ(setPort[0], 0xBC);
  EXPECT_EQ(setPort[1], 0xFF);
  EXPECT_EQ(main().testControls().Panel_Serial->text().section(' ', 1), QStringLiteral("9600, 8-Odd-1"));

  // Polling: the receiver answers, nothing is reported to the operator.
  runPollTicks(60);
  const std::int64_t heard = sim->bytesRead();
  EXPECT_GT(heard, 1000);
  EXPECT_TRUE(prompts.messages.empty());

  // Silence: Halvix keeps polling, one query per tick but phase 2, and says nothing.
  sim->setConnected(false);
  const std::size_t before = sim->frames().size();
  runPollTicks(60);
  EXPECT_EQ(sim->frames().size() - before, 50u);
  EXPECT_EQ(sim->bytesRead(), heard);
  EXPECT_TRUE(prompts.messages.empty());

  // Back again: reports flow once more.
  sim->setConnected(true);
  runPollTicks(30);
  EXPECT_GT(sim->bytesRead(), heard);

  // Never two frames closer than 100 ms on the wire.
  for (std::size_t i = 1; i < sim->frames().size(); ++i) {
    EXPECT_GE(sim->frames()[i].atMs - sim->frames()[i - 1].atMs, 100) << "frame " << i;
  }
}
