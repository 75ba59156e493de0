// Halvix started through its program entry on the simulated receiver behind a
// switch, every seam on a test double and virtual time: the session's steps
// run as the test advances its scheduler.
#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <cmath>
#include <memory>
#include <optional>

#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "session/scheduler.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"
#include "tests/integration/sim_link.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

namespace halvix::testing {

class SimProgramTest : public ::testing::Test {
 protected:
  // A start time with twelve satellites above the antenna's horizon.
  static constexpr std::int64_t kStartGpsMs = (2448LL * 604'800 + 176'870) * 1000;

  session::VirtualScheduler scheduler{0};
  link::VirtualClock& clock = scheduler.virtualClock();
  ScriptedPrompts prompts;
  platform::FixedPcClock pcClock;
  // The stored NTP choice decides the poll item once the receiver's type is known.
  MemorySettings settings;
  SwitchedSimDevice* cable = nullptr;
  std::unique_ptr<app::Program> program;

  // Starts on a receiver set up by options (the persona the command line
  // names, if any) and runs the break sequence up to routine polling.
  void startProgram(sim::SimOptions options) {
    program = std::make_unique<app::Program>(app::ProgramSeams{
        prompts, scheduler, [] { return std::optional<int>(); },
        [this, options](const app::PortChoice& port, link::Clock& c) {
          sim::SimOptions o = options;
          if (!port.persona.isEmpty()) o.persona = port.persona;
          auto d = std::make_unique<SwitchedSimDevice>(sim::CreateSimulatedDevice(o, c), c);
          cable = d.get();
          return d;
        },
        &pcClock, &settings});
    ASSERT_TRUE(program->start({QStringLiteral("--simulate")}));
    ASSERT_NE(cable, nullptr);
    for (int i = 0; i < 100 && program->session()->state() != session::SessionState::Polling; ++i) {
      scheduler.advance(200);
    }
    ASSERT_EQ(program->session()->state(), session::SessionState::Polling);
  }
  // Starts at kStartGpsMs with the NTP answer on record ("0": the timing
  // packets are polled) and the timing-packet poll item set to match it.
  void startPolling(bool pollTimingPackets) {
    settings.setNtp(pollTimingPackets ? QStringLiteral("0") : QStringLiteral("1"));
    sim::SimOptions options;
    options.startGpsMs = kStartGpsMs;
    ASSERT_NO_FATAL_FAILURE(startProgram(options));
    main().menu.ControlPollingTimingPkts->setChecked(pollTimingPackets);
  }
  void TearDown() override {
    if (program && program->windows()) {
      for (QWidget* w : program->windows()->creationOrder) w->hide();
    }
  }

  app::TForm_Main& main() { return *program->mainWindow(); }
  app::Windows& windows() { return *program->windows(); }
  sim::SimulatedDevice& receiver() { return dynamic_cast<sim::SimulatedDevice&>(cable->inner()); }

  // Poll ticks of 200 ms for this many seconds.
  void runSeconds(double seconds) {
    const int ticks = static_cast<int>(std::lround(seconds * 5));
    for (int i = 0; i < ticks; ++i) tick();
  }
  void tick() { scheduler.advance(200); }
};

}  // namespace halvix::testing
