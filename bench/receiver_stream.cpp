#include "bench/receiver_stream.h"

#include <algorithm>
#include <cstring>

#include "commands/catalogue.h"
#include "link/clock.h"
#include "link/forwarding_device.h"
#include "link/serial_link.h"
#include "sim/simulated_device.h"

namespace halvix::bench {

namespace {

// Wraps the simulated receiver and keeps a copy of every byte read from it.
class CapturingDevice final : public link::ForwardingDevice {
 public:
  CapturingDevice(link::SerialDevice& inner, std::vector<std::uint8_t>& sink)
      : ForwardingDevice(inner), sink_(sink) {}
  std::int64_t read(std::uint8_t* b, std::int64_t max) override {
    const std::int64_t n = ForwardingDevice::read(b, max);
    if (n > 0) sink_.insert(sink_.end(), b, b + n);
    return n;
  }

 private:
  std::vector<std::uint8_t>& sink_;
};

}  // namespace

std::vector<std::uint8_t> CaptureReceiverStream(int seconds) {
  std::vector<std::uint8_t> stream;
  link::VirtualClock clock(0);
  auto sim = sim::CreateSimulatedDevice(QStringLiteral("corvel"), clock);
  CapturingDevice device(*sim, stream);
  link::SerialLink link(device, clock);
  if (link.OpenLink(QStringLiteral("simulated:corvel")) != 0) return stream;
  // The receiver's own line after start-up: 9600 8-Odd-1.
  link.SetLine(link::LineSettings{9600, 8, link::Parity::Odd, link::StopBits::One});
  // Poll as the link timer does with timing packets not polled, so every
  // routine report appears in the stream.
  const link::SerialLink::PacketCallback ignore = [](link::SerialLink&) {};
  for (int tick = 0; tick < seconds * 5; ++tick) {
    link.PollPort(ignore, false);
    switch (tick % 6) {
      case 0: commands::SvSelectionRequest24(link); break;
      case 1: commands::TrackingStatusRequest3C(link); break;
      case 3: commands::TimeRequest21(link); break;
      case 4: commands::HealthRequest26(link); break;
      case 5: commands::ComprehensiveTimeRequest8E0B(link); break;
      default: commands::TimingPacketRequest8EAB(link, commands::kTimingRequestBoth); break;
    }
    clock.advance(200);
  }
  link.PollPort(ignore, false);
  return stream;
}

const std::vector<std::uint8_t>& CapturedStream() {
  static const std::vector<std::uint8_t> stream = CaptureReceiverStream(kCapturedSeconds);
  return stream;
}

std::int64_t ReplayDevice::bytesWaiting() {
  return data_.empty() ? 0 : std::min<std::int64_t>(chunk_, static_cast<std::int64_t>(data_.size() - pos_));
}

std::int64_t ReplayDevice::read(std::uint8_t* buffer, std::int64_t max) {
  if (data_.empty()) return 0;
  const auto n = static_cast<std::size_t>(std::min(max, bytesWaiting()));
  std::memcpy(buffer, data_.data() + pos_, n);
  pos_ += n;
  if (pos_ >= data_.size()) pos_ = 0;
  return static_cast<std::int64_t>(n);
}

}  // namespace halvix::bench
