// Halvix started through the program entry on the simulated receiver, for the
// tool tests (almanac transfer, recording, reset test): a cable that can be
// cut, a record of every frame Halvix wrote and of every byte it read, and a
// virtual clock that a worker thread's waits follow.
#pragma once

#include "tests/support/wire_frames.h"

#include <QByteArray>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/program.h"
#include "platform/system_clock.h"
#include "link/clock.h"
#include "link/serial_device.h"
#include "session/scheduler.h"
#include "sim/sim_options.h"
#include "tests/support/scripted_prompts.h"

namespace halvix::testing {

// Virtual time driven by the test's thread. A wait on any other thread lasts
// until the test has moved time on that far, so a worker keeps pace with the
// ticks; if the test's thread is itself blocked (on a lock the waiting
// thread holds), the wait moves time on by itself after a short real pause.
class PacedClock final : public link::Clock {
 public:
  PacedClock() : owner_(std::this_thread::get_id()) {}
  std::int64_t nowMs() const override;
  void sleepMs(std::int64_t ms) override;
  void advance(std::int64_t ms);

 private:
  std::thread::id owner_;
  mutable std::mutex mutex_;
  std::condition_variable moved_;
  std::int64_t now_ = 0;
};

// One frame Halvix wrote: id and payload, unstuffed.
struct WrittenFrame {
  std::int64_t atMs;
  std::vector<std::uint8_t> bytes;
};

class ToolHarness {
 public:
  ToolHarness() = default;
  ~ToolHarness();

  // Starts the program (args beside --simulate) and runs the break sequence
  // up to routine polling.
  bool start(const sim::SimOptions& options, const QStringList& extraArgs = {});
  // start() on a receiver that runs a hundred times its speed, then that many
  // seconds of polling.
  bool startFast(double seconds);
  app::TForm_Main& main();
  app::Windows& windows();
  app::Program& program() { return *program_; }

  // 200 ms of the session's steps (one poll tick); every fifth also ticks
  // the diagnostics timer when diagnosticsTimer is set.
  void tick();
  void runSeconds(double seconds);
  // Ticks while the condition holds, giving a worker thread real time to run
  // between ticks; gives up after maxTicks or 30 s of wall time.
  void tickWhile(const std::function<bool()>& condition, int maxTicks);
  bool diagnosticsTimer = false;

  // The simulated line: cut, or connected.
  void setConnected(bool on);
  // Writes raw bytes to the receiver past Halvix (the test as another user of the line).
  void sendToReceiver(const std::vector<std::uint8_t>& frame);
  std::vector<WrittenFrame> frames() const;
  QByteArray bytesRead() const;
  // Frames Halvix wrote that start with these bytes.
  int countFrames(std::initializer_list<int> prefix) const;

  PacedClock clock;
  session::VirtualScheduler scheduler{clock};
  ScriptedPrompts prompts;
  platform::FixedPcClock pcClock;
  std::shared_ptr<struct CableState> cable;

 private:
  std::unique_ptr<app::Program> program_;
  int tickCount_ = 0;
};


}  // namespace halvix::testing
