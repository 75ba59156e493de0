// A serial device that can be pulled out and put back, around a real one: a
// vanished adapter as the link sees it.
#pragma once

#include <memory>

#include "link/forwarding_device.h"

namespace halvix::testing {

class PullableDevice final : public link::ForwardingDevice {
 public:
  explicit PullableDevice(std::unique_ptr<link::SerialDevice> inner) : ForwardingDevice(std::move(inner)) {}
  void pull() { pulled_ = true; }
  void putBack() { pulled_ = false; }
  bool open(const QString& name) override { return !pulled_ && ForwardingDevice::open(name); }
  bool isOpen() const override { return !pulled_ && ForwardingDevice::isOpen(); }
  std::int64_t bytesWaiting() override { return pulled_ ? -1 : ForwardingDevice::bytesWaiting(); }
  std::int64_t read(std::uint8_t* b, std::int64_t m) override { return pulled_ ? -1 : ForwardingDevice::read(b, m); }
  std::int64_t write(const std::uint8_t* d, std::int64_t n) override {
    return pulled_ ? -1 : ForwardingDevice::write(d, n);
  }

 private:
  bool pulled_ = false;
};

}  // namespace halvix::testing
