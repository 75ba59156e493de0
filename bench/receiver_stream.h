// A realistic receive stream for the benchmarks: what the simulated receiver
// sends to a Halvix that polls it as the link timer does, captured once.
#pragma once

#include <cstdint>
#include <vector>

#include "link/byte_stream_device.h"

namespace halvix::bench {

// Bytes received during the given stretch of virtual time.
std::vector<std::uint8_t> CaptureReceiverStream(int seconds);

inline constexpr int kCapturedSeconds = 120;
// The stream of kCapturedSeconds, captured once per program.
const std::vector<std::uint8_t>& CapturedStream();

// Hands a fixed byte buffer out again and again, one read at a time, in
// chunks of at most chunkSize bytes (what a 200 ms tick finds waiting).
class ReplayDevice final : public link::ByteStreamDevice {
 public:
  ReplayDevice(const std::vector<std::uint8_t>& data, std::int64_t chunkSize)
      : data_(data), chunk_(chunkSize) {}
  bool open(const QString&) override { return true; }
  bool isOpen() const override { return true; }
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  std::int64_t write(const std::uint8_t*, std::int64_t size) override { return size; }
  void close() override {}

 private:
  const std::vector<std::uint8_t>& data_;
  std::int64_t chunk_;
  std::size_t pos_ = 0;
};

}  // namespace halvix::bench
