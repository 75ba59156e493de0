#include "tests/integration/tool_harness.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>

#include "app/main_window.h"
#include "app/windows.h"
#include "sim/simulated_device.h"
#include "tools/diagnostics_window.h"

namespace halvix::testing {

std::int64_t PacedClock::nowMs() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void PacedClock::sleepMs(std::int64_t ms) {
  if (ms <= 0) return;
  std::unique_lock lock(mutex_);
  if (std::this_thread::get_id() == owner_) {
    now_ += ms;
    moved_.notify_all();
    return;
  }
  const std::int64_t until = now_ + ms;
  while (now_ < until) {
    if (moved_.wait_for(lock, std::chrono::milliseconds(5)) == std::cv_status::timeout && now_ < until) {
      now_ = until;
      moved_.notify_all();
    }
  }
}

void PacedClock::advance(std::int64_t ms) {
  std::lock_guard lock(mutex_);
  now_ += ms;
  moved_.notify_all();
}

struct CableState {
  std::mutex mutex;
  bool connected = true;
  std::vector<WrittenFrame> frames;
  QByteArray read;
  std::vector<std::uint8_t> pending;  // a frame being written, across writes
};

namespace {

// The simulated receiver behind the cable. Safe for the worker's sends.
class CabledDevice final : public link::SerialDevice {
 public:
  CabledDevice(std::unique_ptr<link::SerialDevice> inner, link::Clock& clock,
               std::shared_ptr<CableState> state)
      : inner_(std::move(inner)), clock_(clock), state_(std::move(state)) {}

  bool open(const QString& name) override { return inner_->open(name); }
  bool isOpen() const override { return inner_->isOpen(); }
  bool setLine(const link::LineSettings& line) override { return inner_->setLine(line); }
  std::int64_t bytesWaiting() override {
    const std::int64_t n = inner_->bytesWaiting();
    std::lock_guard lock(state_->mutex);
    return state_->connected ? n : 0;
  }
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override {
    std::lock_guard lock(state_->mutex);
    if (!state_->connected) return 0;
    const std::int64_t n = inner_->read(buffer, max);
    if (n > 0) state_->read.append(reinterpret_cast<const char*>(buffer), static_cast<int>(n));
    return n;
  }
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override {
    std::lock_guard lock(state_->mutex);
    // Frames as written: DLE id ... DLE ETX, unstuffed.
    std::vector<std::uint8_t> frame;
    for (std::int64_t i = 1; i + 2 < size; ++i) {
      frame.push_back(data[i]);
      if (data[i] == 0x10 && i > 1) ++i;
    }
    state_->frames.push_back({clock_.nowMs(), frame});
    if (!state_->connected) return size;
    return inner_->write(data, size);
  }
  bool drain() override { return inner_->drain(); }
  void purge() override { inner_->purge(); }
  bool setBreak(bool on) override { return inner_->setBreak(on); }
  bool setRts(bool on) override { return inner_->setRts(on); }
  void close() override { inner_->close(); }

  void writeRaw(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(state_->mutex);
    inner_->write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  }

 private:
  std::unique_ptr<link::SerialDevice> inner_;
  link::Clock& clock_;
  std::shared_ptr<CableState> state_;
};

}  // namespace

ToolHarness::~ToolHarness() {
  if (program_ && program_->windows()) {
    for (QWidget* w : program_->windows()->creationOrder) w->hide();
  }
}

bool ToolHarness::start(const sim::SimOptions& options, const QStringList& extraArgs) {
  cable = std::make_shared<CableState>();
  program_ = std::make_unique<app::Program>(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<int>(); },
      [this, options](const app::PortChoice&, link::Clock& c) -> std::unique_ptr<link::SerialDevice> {
        return std::make_unique<CabledDevice>(sim::CreateSimulatedDevice(options, c), c, cable);
      },
      &pcClock});
  QStringList args{QStringLiteral("--simulate")};
  args << extraArgs;
  if (!program_->start(args)) return false;
  for (int i = 0; i < 100 && program_->session()->state() != session::SessionState::Polling; ++i) {
    scheduler.advance(200);
  }
  if (program_->session()->state() != session::SessionState::Polling) return false;
  windows().diagnostics->testControls().Timer_Diagnostics->stop();
  return true;
}

app::TForm_Main& ToolHarness::main() { return *program_->mainWindow(); }
app::Windows& ToolHarness::windows() { return *program_->windows(); }

void ToolHarness::tick() {
  scheduler.advance(200);
  if (++tickCount_ % 5 == 0 && diagnosticsTimer) windows().diagnostics->Timer_DiagnosticsTimer();
  // Queued calls (a worker's result, a deferred message).
  QCoreApplication::processEvents();
}

bool ToolHarness::startFast(double seconds) {
  sim::SimOptions o;
  o.speed = 100;
  if (!start(o)) return false;
  runSeconds(seconds);
  return true;
}

void ToolHarness::runSeconds(double seconds) {
  const int ticks = static_cast<int>(seconds * 5 + 0.5);
  for (int i = 0; i < ticks; ++i) tick();
}

void ToolHarness::tickWhile(const std::function<bool()>& condition, int maxTicks) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  for (int i = 0; i < maxTicks && condition() && std::chrono::steady_clock::now() < giveUp; ++i) {
    tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void ToolHarness::setConnected(bool on) {
  std::lock_guard lock(cable->mutex);
  cable->connected = on;
}

void ToolHarness::sendToReceiver(const std::vector<std::uint8_t>& frame) {
  auto* device = dynamic_cast<CabledDevice*>(program_->device());
  if (device != nullptr) device->writeRaw(frame);
}

std::vector<WrittenFrame> ToolHarness::frames() const {
  std::lock_guard lock(cable->mutex);
  return cable->frames;
}

QByteArray ToolHarness::bytesRead() const {
  std::lock_guard lock(cable->mutex);
  return cable->read;
}

int ToolHarness::countFrames(std::initializer_list<int> prefix) const {
  int n = 0;
  for (const WrittenFrame& f : frames()) {
    if (f.bytes.size() < prefix.size()) continue;
    if (std::equal(prefix.begin(), prefix.end(), f.bytes.begin(),
                   [](int a, std::uint8_t b) { return a == b; }))
      ++n;
  }
  return n;
}

}  // namespace halvix::testing
