#include "link/field_codec.h"

#include <bit>

namespace halvix::link {

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
