// Fuzz target: arbitrary bytes from the serial port through the receive
// parser and the report dispatcher into every report's layout and the display
// formatters, as the windows would show them. Nothing may read past a buffer
// or hit undefined behaviour, whatever arrives.
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "link/byte_stream_device.h"
#include "link/clock.h"
#include "link/report_dispatcher.h"
#include "link/serial_link.h"
#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"
#include "tests/fuzz/fuzz_layouts.h"

using namespace halvix;

namespace {

// Serves the input in chunks whose sizes come from the input itself, so frames
// split across reads are explored too.
class FuzzDevice final : public link::ByteStreamDevice {
 public:
  FuzzDevice(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool open(const QString&) override { return true; }
  bool isOpen() const override { return true; }
  std::int64_t bytesWaiting() override {
    if (at_ >= size_) return 0;
    const std::size_t chunk = 1 + (data_[at_] * 37u) % 9000u;
    return static_cast<std::int64_t>(std::min(chunk, size_ - at_));
  }
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override {
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(max, bytesWaiting()));
    std::memcpy(buffer, data_ + at_, n);
    at_ += n;
    return static_cast<std::int64_t>(n);
  }
  std::int64_t write(const std::uint8_t*, std::int64_t size) override { return size; }
  void close() override {}
  bool done() const { return at_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  link::VirtualClock clock{0};
  FuzzDevice device(data, size);
  link::SerialLink serial(device, clock);
  serial.OpenLink(QStringLiteral("fuzz"));
  link::ReportDispatcher dispatcher;
  dispatcher.setDeveloperMode(size > 0 && (data[0] & 1) != 0);
  fuzz::RegisterEveryLayout(dispatcher);
  for (int polls = 0; !device.done() && polls < 10000; ++polls) {
    serial.PollPort(dispatcher.callback(), false);
  }
  return 0;
}
