// A virtual day of Halvix on the simulated receiver with its faults mixed in:
// reports of the wrong length, silences, resets, and a device that vanishes
// and returns. Nothing may get stuck: after every disturbance the main window
// fills again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "commands/catalogue.h"
#include "widgets/value_panel.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"
#include "tests/integration/sim_link.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using halvix::testing::SwitchedSimDevice;

namespace {

class SoakTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kStartGpsMs = (2448LL * 604'800 + 176'870) * 1000;
  static constexpr int kTickMs = 200;

  session::VirtualScheduler scheduler{0};
  link::VirtualClock& clock = scheduler.virtualClock();
  halvix::testing::ScriptedPrompts prompts;
  halvix::testing::MemorySettings settings;
  platform::FixedPcClock pcClock;
  SwitchedSimDevice* cable = nullptr;
  std::unique_ptr<app::Program> program;
  std::int64_t ticks = 0;

  void SetUp() override {
    settings.setNtp(QStringLiteral("0"));  // the timing packets are polled
    program = std::make_unique<app::Program>(app::ProgramSeams{
        prompts, scheduler, [] { return std::optional<int>(); },
        [this](const app::PortChoice&, link::Clock& c) {
          sim::SimOptions options;
          options.startGpsMs = kStartGpsMs;
          options.faults.badLengthEvery = 97;
          auto d = std::make_unique<SwitchedSimDevice>(sim::CreateSimulatedDevice(options, c), c);
          d->keepFrames(false);
          cable = d.get();
          return d;
        },
        &pcClock, &settings});
    ASSERT_TRUE(program->start({QStringLiteral("--simulate")}));
  }

  app::TForm_Main& main() { return *program->mainWindow(); }
  app::TForm_Main::Controls& c() { return main().testControls(); }

  // One step of the event loop: the session's steps due by then, then the
  // posted events. The quiet stretches of the day go in longer steps (ticks
  // missed by a busy machine are skipped, not run in a burst), so the day
  // runs in well under a minute.
  void tick(int stepMs = kTickMs) {
    if (stepMs > kTickMs) clock.advance(stepMs - kTickMs);
    scheduler.advance(kTickMs);
    QCoreApplication::sendPostedEvents();
    ++ticks;
  }
  void run(int seconds) {
    for (int i = 0; i < seconds * 1000 / kTickMs; ++i) tick();
  }
  void runQuietly(int seconds) {
    constexpr int kQuietStepMs = 5000;
    for (int i = 0; i < seconds * 1000 / kQuietStepMs; ++i) tick(kQuietStepMs);
  }
  // The time panel moves on and the timing outputs are live.
  bool filled() {
    const QString before = c().Panel_Time->text();
    run(2);
    return !c().Panel_Time->text().isEmpty() && c().Panel_Time->text() != before &&
           !c().Panel_PPSOffset->text().isEmpty() &&
           program->session()->state() == session::SessionState::Polling;
  }
  // Waits at most a minute for the panels to fill.
  bool fillsAgain() {
    for (int i = 0; i < 30; ++i) {
      if (filled()) return true;
    }
    return false;
  }
};

TEST_F(SoakTest, ADayWithFaultsNeverGetsStuck) {
  QElapsedTimer wall;
  wall.start();
  run(30);
  ASSERT_TRUE(fillsAgain()) << "start-up";
  int disturbances = 0;
  // Each virtual hour: a silence, a reset and a vanished device, the rest normal running.
  for (int hour = 0; hour < 24; ++hour) {
    SCOPED_TRACE(hour);
    cable->setConnected(false);
    run(20);
    EXPECT_TRUE(c().Panel_Time->text().isEmpty()) << "a silent receiver is blanked";
    cable->setConnected(true);
    EXPECT_TRUE(fillsAgain()) << "after a silence";

    commands::ResetCommand1E(program->windows()->main->context().link,
                             hour % 2 == 0 ? commands::kResetCold : commands::kResetFactoryNavigation);
    run(10);
    EXPECT_TRUE(fillsAgain()) << "after a reset";

    cable->setVanished(true);
    run(15);
    EXPECT_EQ(program->session()->state(), session::SessionState::Waiting);
    EXPECT_TRUE(c().Panel_Serial->text().startsWith(QStringLiteral("Disconnected")));
    cable->setVanished(false);
    EXPECT_TRUE(fillsAgain()) << "after the device came back";
    disturbances += 3;

    const std::int64_t hourEnd = (hour + 2) * 3'600'000LL;
    while (clock.nowMs() < hourEnd) runQuietly(60);
    EXPECT_TRUE(filled()) << "the hour's normal running";
  }
  EXPECT_EQ(disturbances, 72);
  EXPECT_GE(clock.nowMs(), 24 * 3'600'000LL);
  // Only the first loss of the device is told in a box.
  EXPECT_EQ(prompts.messages.size(), 1u);
  std::fprintf(stderr, "a virtual day in %.1f s\n", static_cast<double>(wall.elapsed()) / 1000.0);
}

}  // namespace
