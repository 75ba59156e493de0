// The simulated receiver behind a switch, for integration tests: the test can
// cut the line (the receiver falls silent and hears nothing) and restore it,
// and sees every frame Halvix wrote with the virtual time it left at.
#pragma once

#include <memory>
#include <vector>

#include "link/clock.h"
#include "link/serial_device.h"

namespace halvix::testing {

struct TimedFrame {
  std::int64_t atMs;
  std::vector<std::uint8_t> bytes;  // id and payload, unstuffed
};

class SwitchedSimDevice final : public link::SerialDevice {
 public:
  SwitchedSimDevice(std::unique_ptr<link::SerialDevice> inner, link::Clock& clock)
      : inner_(std::move(inner)), clock_(clock) {}

  void setConnected(bool on) { connected_ = on; }
  // The device is gone as a pulled USB adapter is: reads and writes fail and
  // it cannot be opened, until it returns.
  void setVanished(bool gone) { vanished_ = gone; }
  // Long runs need not keep every frame.
  void keepFrames(bool keep) { keepFrames_ = keep; }
  link::SerialDevice& inner() { return *inner_; }
  const std::vector<TimedFrame>& frames() const { return frames_; }
  std::int64_t bytesRead() const { return bytesRead_; }

  bool open(const QString& name) override { return !vanished_ && inner_->open(name); }
  bool isOpen() const override { return inner_->isOpen(); }
  bool setLine(const link::LineSettings& line) override { return inner_->setLine(line); }
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override;
  bool drain() override { return inner_->drain(); }
  void purge() override { inner_->purge(); }
  bool setBreak(bool on) override { return inner_->setBreak(on); }
  bool setRts(bool on) override { return inner_->setRts(on); }
  void close() override { inner_->close(); }

 private:
  std::unique_ptr<link::SerialDevice> inner_;
  link::Clock& clock_;
  bool connected_ = true;
  bool vanished_ = false;
  bool keepFrames_ = true;
  std::vector<TimedFrame> frames_;
  std::int64_t bytesRead_ = 0;
};

}  // namespace halvix::testing
