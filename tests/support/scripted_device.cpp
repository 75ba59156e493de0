#include "tests/support/scripted_device.h"

#include <algorithm>
#include <cstring>

namespace halvix::testing {

Bytes ScriptedDevice::allWritten() const {
  Bytes all;
  for (const auto& w : writes_) all.insert(all.end(), w.bytes.begin(), w.bytes.end());
  return all;
}

bool ScriptedDevice::open(const QString& name) {
  touch();
  openedName_ = name;
  if (failOpen_ || lost_) return false;
  open_ = true;
  return true;
}

bool ScriptedDevice::setLine(const link::LineSettings& line) {
  touch();
  lines_.push_back(line);
  return !failSetLine_;
}

std::int64_t ScriptedDevice::bytesWaiting() {
  touch();
  if (lost_) return -1;
  return incoming_.empty() ? 0 : static_cast<std::int64_t>(incoming_.front().size());
}

std::int64_t ScriptedDevice::read(std::uint8_t* buffer, std::int64_t max) {
  touch();
  if (lost_) return -1;
  if (incoming_.empty()) return 0;
  Bytes& chunk = incoming_.front();
  const auto n = std::min<std::int64_t>(max, static_cast<std::int64_t>(chunk.size()));
  std::memcpy(buffer, chunk.data(), static_cast<std::size_t>(n));
  chunk.erase(chunk.begin(), chunk.begin() + n);
  if (chunk.empty()) incoming_.pop_front();
  return n;
}

std::int64_t ScriptedDevice::write(const std::uint8_t* data, std::int64_t size) {
  touch();
  if (lost_) return -1;
  writes_.push_back(Written{clock_ ? clock_->nowMs() : 0, Bytes(data, data + size)});
  return size;
}

bool ScriptedDevice::drain() {
  touch();
  ++drains_;
  if (onDrain) onDrain();
  return true;
}

bool ScriptedDevice::setBreak(bool on) {
  touch();
  breaks_.push_back(on);
  return true;
}

bool ScriptedDevice::setRts(bool on) {
  touch();
  rts_.push_back(on);
  return !failRts_;
}

}  // namespace halvix::testing
