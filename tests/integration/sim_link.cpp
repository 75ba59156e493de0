#include "tests/integration/sim_link.h"

namespace halvix::testing {

std::int64_t SwitchedSimDevice::bytesWaiting() {
  if (vanished_) return -1;
  if (!connected_) {
    // What the receiver sends meanwhile is lost on the cut line.
    std::uint8_t drop[512];
    while (inner_->bytesWaiting() > 0 && inner_->read(drop, sizeof drop) > 0) {
    }
    return 0;
  }
  return inner_->bytesWaiting();
}

std::int64_t SwitchedSimDevice::read(std::uint8_t* buffer, std::int64_t max) {
  if (vanished_) return -1;
  if (!connected_) return 0;
  const std::int64_t n = inner_->read(buffer, max);
  if (n > 0) bytesRead_ += n;
  return n;
}

std::int64_t SwitchedSimDevice::write(const std::uint8_t* data, std::int64_t size) {
  if (vanished_) return -1;
  if (!keepFrames_) return connected_ ? inner_->write(data, size) : size;
  // Halvix writes whole frames: DLE id payload DLE ETX, with DLE doubled inside.
  TimedFrame f{clock_.nowMs(), {}};
  for (std::int64_t i = 1; i + 2 < size; ++i) {
    f.bytes.push_back(data[i]);
    if (data[i] == 0x10) ++i;
  }
  frames_.push_back(f);
  return connected_ ? inner_->write(data, size) : size;
}

}  // namespace halvix::testing
