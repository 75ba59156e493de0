// Big-endian field readers and writers for QLIP payloads. These are the only
// place where byte order is handled; everything above works with host numbers.
#pragma once

#include <bit>
#include <cstdint>

namespace halvix::link {

// Readers do no bounds check: callers have already checked the payload length.
// They are inline: every decoded field goes through one.
inline std::uint16_t GetWord(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::int16_t GetSignedWord(const std::uint8_t* p) { return static_cast<std::int16_t>(GetWord(p)); }
inline std::uint32_t GetLong(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}
inline double GetSingle(const std::uint8_t* p) { return static_cast<double>(std::bit_cast<float>(GetLong(p))); }
inline double GetDouble(const std::uint8_t* p) {
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | p[i];
  return std::bit_cast<double>(bits);
}

// Writers store exactly the field's width.
void PutWord(std::uint16_t value, std::uint8_t* p);
void PutLong(std::uint32_t value, std::uint8_t* p);
void PutSingle(float value, std::uint8_t* p);
void PutDouble(double value, std::uint8_t* p);

}  // namespace halvix::link
