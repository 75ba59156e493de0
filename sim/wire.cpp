#include "sim/wire.h"

#include <bit>

namespace halvix::sim {

void ByteWriter::u16(std::uint16_t v) {
  out_.push_back(static_cast<std::uint8_t>(v >> 8));
  out_.push_back(static_cast<std::uint8_t>(v));
}

void ByteWriter::u32(std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out_.push_back(static_cast<std::uint8_t>(v >> shift));
}

void ByteWriter::f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }

void ByteWriter::f64(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  for (int shift = 56; shift >= 0; shift -= 8) out_.push_back(static_cast<std::uint8_t>(bits >> shift));
}

void ByteWriter::text(std::string_view s, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) out_.push_back(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
}

std::uint16_t ByteReader::u16(std::size_t offset) const {
  if (!has(offset, 2)) return 0;
  return static_cast<std::uint16_t>((data_[offset] << 8) | data_[offset + 1]);
}

std::uint32_t ByteReader::u32(std::size_t offset) const {
  if (!has(offset, 4)) return 0;
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | data_[offset + i];
  return v;
}

float ByteReader::f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }

double ByteReader::f64(std::size_t offset) const {
  if (!has(offset, 8)) return 0.0;
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < 8; ++i) v = (v << 8) | data_[offset + i];
  return std::bit_cast<double>(v);
}

Bytes ByteReader::slice(std::size_t offset, std::size_t count) const {
  if (!has(offset, count)) return {};
  return Bytes(data_ + offset, data_ + offset + count);
}

}  // namespace halvix::sim
