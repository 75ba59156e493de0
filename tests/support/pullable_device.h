// A serial device that can be pulled out and put back, around a real one: a
// vanished adapter as the link sees it.
#pragma once

#include <memory>

#include "link/serial_device.h"

namespace halvix::testing {

class PullableDevice final : public link::SerialDevice {
 public:
  explicit PullableDevice(std::unique_ptr<link::SerialDevice> inner) : inner_(std::move(inner)) {}
  void pull() { pulled_ = true; }
  void putBack() { pulled_ = false; }
  bool open(const QString& name) override { return !pulled_ && inner_->open(name); }
  bool isOpen() const override { return !pulled_ && inner_->isOpen(); }
  bool setLine(const link::LineSettings& l) override { return inner_->setLine(l); }
  std::int64_t bytesWaiting() override { return pulled_ ? -1 : inner_->bytesWaiting(); }
  std::int64_t read(std::uint8_t* b, std::int64_t m) override { return pulled_ ? -1 : inner_->read(b, m); }
  std::int64_t write(const std::uint8_t* d, std::int64_t n) override { return pulled_ ? -1 : inner_->write(d, n); }
  bool drain() override { return inner_->drain(); }
  void purge() override { inner_->purge(); }
  bool setBreak(bool on) override { return inner_->setBreak(on); }
  bool setRts(bool on) override { return inner_->setRts(on); }
  void close() override { inner_->close(); }

 private:
  std::unique_ptr<link::SerialDevice> inner_;
  bool pulled_ = false;
};

}  // namespace halvix::testing
