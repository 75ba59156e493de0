// Every window of a run over a scripted device on virtual time, with scripted
// prompts, and the packets Halvix wrote read back unframed. The windows view a
// receiver session whose steps run on the virtual scheduler.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "app/app_context.h"
#include "app/main_window.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "link/serial_link.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "tests/support/scripted_device.h"
#include "tests/support/session_rig.h"
#include "tests/support/scripted_prompts.h"

namespace halvix::testing {

// The id and payload of one written frame: framing removed, DLEs undoubled.
Bytes Unframed(const Bytes& frame);

class WindowFixture : public ::testing::Test, protected SessionRig {
 protected:
  WindowFixture() : SessionRig(0, sessionOptions()) {}

  ScriptedPrompts prompts;
  platform::FixedPcClock pcClock;
  std::unique_ptr<app::AppContext> context;
  std::unique_ptr<app::Windows> windows;

  // Not running: the link is open but the session is not started. Running:
  // the main window's creation starts the session (the break sequence runs
  // as the scheduler advances).
  void make(bool developer = false, bool running = false);
  void SetUp() override { make(); }
  void TearDown() override;

  app::TForm_Main& main() { return *windows->main; }
  // Every packet written since the last call.
  std::vector<Bytes> sent();
  // The dialog's activation, as the window system delivers it.
  static void activate(QWidget* window);
  static session::SessionOptions sessionOptions();
};

}  // namespace halvix::testing
