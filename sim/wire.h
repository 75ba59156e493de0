// Receiver-side big-endian field writers and a bounds-checked reader for the
// commands it receives. Kept apart from the PC's codec on purpose: the two
// sides must not share a byte-order mistake.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace halvix::sim {

using Bytes = std::vector<std::uint8_t>;

// Appends fields to a payload, most significant byte first.
class ByteWriter {
 public:
  explicit ByteWriter(Bytes& out) : out_(out) {}

  void u8(std::uint8_t v) { out_.push_back(v); }
  void i8(std::int8_t v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void u16(std::uint16_t v);
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  void u32(std::uint32_t v);
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void f32(float v);
  void f64(double v);
  // Consecutive fields of one type.
  template <class... T>
  void u8s(T... v) {
    (u8(static_cast<std::uint8_t>(v)), ...);
  }
  template <class... T>
  void f32s(T... v) {
    (f32(static_cast<float>(v)), ...);
  }
  template <class... T>
  void f64s(T... v) {
    (f64(static_cast<double>(v)), ...);
  }
  void fill(std::uint8_t v, std::size_t count) { out_.insert(out_.end(), count, v); }
  void bytes(const Bytes& b) { out_.insert(out_.end(), b.begin(), b.end()); }
  // Text padded with zeros (or cut) to exactly width bytes.
  void text(std::string_view s, std::size_t width);

 private:
  Bytes& out_;
};

// Reads fields of a received payload. Every read is bounds-checked: a field
// that does not lie wholly inside the payload reads as zero.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteReader(const Bytes& b) : data_(b.data()), size_(b.size()) {}

  std::size_t size() const { return size_; }
  bool has(std::size_t offset, std::size_t width) const {
    return offset <= size_ && width <= size_ - offset;
  }
  std::uint8_t u8(std::size_t offset) const { return has(offset, 1) ? data_[offset] : 0; }
  std::int8_t i8(std::size_t offset) const { return static_cast<std::int8_t>(u8(offset)); }
  std::uint16_t u16(std::size_t offset) const;
  std::int16_t i16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
  std::uint32_t u32(std::size_t offset) const;
  std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }
  float f32(std::size_t offset) const;
  double f64(std::size_t offset) const;
  // Bytes [offset, offset + count), or empty when they are not all there.
  Bytes slice(std::size_t offset, std::size_t count) const;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace halvix::sim
