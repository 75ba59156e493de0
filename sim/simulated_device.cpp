#include "sim/simulated_device.h"

#include <QDebug>
#include <algorithm>

#include "sim/persona.h"

namespace halvix::sim {
namespace {

// The input queue of a real port holds a few kilobytes; beyond that, bytes are lost.
constexpr std::size_t kInputQueueLimit = 65536;

}  // namespace

SimulatedDevice::SimulatedDevice(const SimOptions& options, link::Clock& clock)
    : clock_(clock), model_(options, clock.nowMs()) {}

void SimulatedDevice::catchUp() {
  model_.advanceTo(clock_.nowMs());
  for (OutChunk& chunk : model_.takeOutput()) {
    if (!open_) continue;
    const Bytes bytes = toPc_.deliver(chunk.bytes, chunk.line, pcLine_);
    for (std::uint8_t b : bytes) {
      if (input_.size() >= kInputQueueLimit) break;
      input_.push_back(b);
    }
  }
}

bool SimulatedDevice::open(const QString&) {
  std::lock_guard lock(mutex_);
  catchUp();
  open_ = true;
  input_.clear();
  return true;
}

bool SimulatedDevice::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool SimulatedDevice::setLine(const link::LineSettings& line) {
  std::lock_guard lock(mutex_);
  catchUp();
  pcLine_ = line;
  return true;
}

link::LineSettings SimulatedDevice::pcLine() const {
  std::lock_guard lock(mutex_);
  return pcLine_;
}

std::int64_t SimulatedDevice::bytesWaiting() {
  std::lock_guard lock(mutex_);
  catchUp();
  return open_ ? static_cast<std::int64_t>(input_.size()) : 0;
}

std::int64_t SimulatedDevice::read(std::uint8_t* buffer, std::int64_t max) {
  std::lock_guard lock(mutex_);
  catchUp();
  if (!open_ || buffer == nullptr || max <= 0) return 0;
  const auto n = static_cast<std::size_t>(std::min<std::int64_t>(max, static_cast<std::int64_t>(input_.size())));
  std::copy_n(input_.begin(), n, buffer);
  input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
  return static_cast<std::int64_t>(n);
}

std::int64_t SimulatedDevice::write(const std::uint8_t* data, std::int64_t size) {
  std::lock_guard lock(mutex_);
  catchUp();
  if (!open_ || size < 0 || (data == nullptr && size > 0)) return -1;
  const Bytes sent(data, data + size);
  const Bytes arrived = toReceiver_.deliver(sent, pcLine_, model_.line());
  model_.receive(clock_.nowMs(), arrived.data(), arrived.size());
  return size;
}

void SimulatedDevice::purge() {
  std::lock_guard lock(mutex_);
  catchUp();
  input_.clear();
}

bool SimulatedDevice::setBreak(bool on) {
  std::lock_guard lock(mutex_);
  catchUp();
  model_.setBreak(clock_.nowMs(), on);
  return true;
}

bool SimulatedDevice::setRts(bool on) {
  std::lock_guard lock(mutex_);
  catchUp();
  if (rts_ && !on) model_.eventInput(clock_.nowMs());
  rts_ = on;
  return true;
}

void SimulatedDevice::close() {
  std::lock_guard lock(mutex_);
  catchUp();
  open_ = false;
  input_.clear();
}

std::unique_ptr<link::SerialDevice> CreateSimulatedDevice(const SimOptions& options, link::Clock& clock) {
  return std::make_unique<SimulatedDevice>(options, clock);
}

std::unique_ptr<link::SerialDevice> CreateSimulatedDevice(const QString& persona, link::Clock& clock) {
  SimOptions options;
  options.persona = persona;
  if (FindPersona(persona) == nullptr) {
    qWarning().noquote() << QStringLiteral("Simulated receiver: unknown type '%1', playing a Corvel").arg(persona);
  }
  // On the wall clock the receiver lives in the present; virtual time gets a
  // fixed date so that runs repeat.
  if (dynamic_cast<link::SystemClock*>(&clock) != nullptr) options.startGpsMs = GpsMsFromSystemClock();
  return CreateSimulatedDevice(options, clock);
}

}  // namespace halvix::sim
