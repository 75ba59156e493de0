// A device that passes every call on to another: the base of the wrappers
// that tap, switch or pull a device, which change only the calls they name.
// A reopen goes through the wrapper's own open.
#pragma once

#include <memory>

#include "link/serial_device.h"

namespace halvix::link {

class ForwardingDevice : public SerialDevice {
 public:
  explicit ForwardingDevice(SerialDevice& inner) : inner_(inner) {}
  explicit ForwardingDevice(std::unique_ptr<SerialDevice> inner) : owned_(std::move(inner)), inner_(*owned_) {}

  bool open(const QString& name) override { return inner_.open(name); }
  bool isOpen() const override { return inner_.isOpen(); }
  bool setLine(const LineSettings& line) override { return inner_.setLine(line); }
  std::int64_t bytesWaiting() override { return inner_.bytesWaiting(); }
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override { return inner_.read(buffer, max); }
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override { return inner_.write(data, size); }
  bool drain() override { return inner_.drain(); }
  void purge() override { inner_.purge(); }
  bool setBreak(bool on) override { return inner_.setBreak(on); }
  bool setRts(bool on) override { return inner_.setRts(on); }
  void close() override { inner_.close(); }

  SerialDevice& inner() { return inner_; }

 private:
  std::unique_ptr<SerialDevice> owned_;
  SerialDevice& inner_;
};

}  // namespace halvix::link
