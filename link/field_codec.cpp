#include "link/field_codec.h"

#include <bit>

namespace halvix::link {

std::uint16_t GetWord(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::int16_t GetSignedWord(const std::uint8_t* p) {
  return static_cast<std::int16_t>(GetWord(p));
}

std::uint32_t GetLong(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

double GetSingle(const std::uint8_t* p) {
  return static_cast<double>(std::bit_cast<float>(GetLong(p)));
}

double GetDouble(const std::uint8_t* p) {
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | p[i];
  return std::bit_cast<double>(bits);
}

void PutWord(std::uint16_t value, std::uint8_t* p) {
  p[0] = static_cast<std::uint8_t>(value >> 8);
  p[1] = static_cast<std::uint8_t>(value);
}

void PutLong(std::uint32_t value, std::uint8_t* p) {
  p[0] = static_cast<std::uint8_t>(value >> 24);
  p[1] = static_cast<std::uint8_t>(value >> 16);
  p[2] = static_cast<std::uint8_t>(value >> 8);
  p[3] = static_cast<std::uint8_t>(value);
}

void PutSingle(float value, std::uint8_t* p) { PutLong(std::bit_cast<std::uint32_t>(value), p); }

void PutDouble(double value, std::uint8_t* p) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
}

}  // namespace halvix::link
