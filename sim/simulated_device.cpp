#include "sim/simulated_device.h"

namespace halvix::sim {

namespace {

// Placeholder until the receiver model lands: a line that never answers.
class SilentDevice final : public link::SerialDevice {
 public:
  bool open(const QString&) override { return open_ = true; }
  bool isOpen() const override { return open_; }
  bool setLine(const link::LineSettings&) override { return true; }
  std::int64_t bytesWaiting() override { return 0; }
  std::int64_t read(std::uint8_t*, std::int64_t) override { return 0; }
  std::int64_t write(const std::uint8_t*, std::int64_t size) override { return size; }
  bool drain() override { return true; }
  void purge() override {}
  bool setBreak(bool) override { return true; }
  bool setRts(bool) override { return true; }
  void close() override { open_ = false; }

 private:
  bool open_ = false;
};

}  // namespace

std::unique_ptr<link::SerialDevice> CreateSimulatedDevice(const QString&, link::Clock&) {
  return std::make_unique<SilentDevice>();
}

}  // namespace halvix::sim
