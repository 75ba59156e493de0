// Builds report payloads byte by byte for the layout tests, independently of
// the production field writers, so a wrong offset cannot hide on both sides.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace halvix::testing {

class PayloadWriter {
 public:
  explicit PayloadWriter(int length) : bytes_(static_cast<std::size_t>(length), 0) {}

  PayloadWriter& byte(int offset, std::uint8_t value) {
    bytes_.at(static_cast<std::size_t>(offset)) = value;
    return *this;
  }
  PayloadWriter& word(int offset, std::uint16_t value) {
    byte(offset, static_cast<std::uint8_t>(value >> 8));
    return byte(offset + 1, static_cast<std::uint8_t>(value & 0xFF));
  }
  PayloadWriter& longWord(int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) byte(offset + i, static_cast<std::uint8_t>(value >> (24 - 8 * i)));
    return *this;
  }
  PayloadWriter& single(int offset, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return longWord(offset, bits);
  }
  PayloadWriter& dbl(int offset, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) byte(offset + i, static_cast<std::uint8_t>(bits >> (56 - 8 * i)));
    return *this;
  }

  const std::uint8_t* data() const { return bytes_.data(); }
  int length() const { return static_cast<int>(bytes_.size()); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The packet framed as the wire carries it (DLE id payload DLE ETX, DLEs
// doubled), written here independently of the recorder and the sender.
inline std::vector<std::uint8_t> Framed(int id, const PayloadWriter& p) {
  std::vector<std::uint8_t> out{0x10, static_cast<std::uint8_t>(id)};
  for (int i = 0; i < p.length(); ++i) {
    out.push_back(p.data()[i]);
    if (p.data()[i] == 0x10) out.push_back(0x10);
  }
  out.push_back(0x10);
  out.push_back(0x03);
  return out;
}

// Report 0x8F-0B's fields as the receiver sends them (angles in radians).
struct ComprehensiveTimeFields {
  double timeOfWeek = 0;
  std::uint8_t day = 1, month = 1;
  std::uint16_t year = 2006;
  std::uint8_t receiverMode = 0;
  std::int16_t utcOffset = 0;
  double oscillatorBias = 0, oscillatorDrift = 0;
  float biasUncertainty = 0, driftUncertainty = 0;
  double latitude = 0, longitude = 0, altitude = 0;
  std::array<std::int8_t, 8> satellites{};
};

// The 74-byte payload of report 0x8F-0B, sub-code first.
inline PayloadWriter ComprehensiveTimePayload(const ComprehensiveTimeFields& f) {
  PayloadWriter p(74);
  p.byte(0, 0x0B).word(1, 0).dbl(3, f.timeOfWeek).byte(11, f.day).byte(12, f.month).word(13, f.year);
  p.byte(15, f.receiverMode).word(16, static_cast<std::uint16_t>(f.utcOffset));
  p.dbl(18, f.oscillatorBias).dbl(26, f.oscillatorDrift);
  p.single(34, f.biasUncertainty).single(38, f.driftUncertainty);
  p.dbl(42, f.latitude).dbl(50, f.longitude).dbl(58, f.altitude);
  for (std::size_t i = 0; i < f.satellites.size(); ++i) {
    p.byte(66 + static_cast<int>(i), static_cast<std::uint8_t>(f.satellites[i]));
  }
  return p;
}

// Runs a decoder on a payload of the given length (zero bytes): the result
// tells whether that length is accepted.
template <typename Decode>
bool AcceptsLength(Decode decode, int length) {
  const std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length), 0);
  return decode(bytes.data(), length).has_value();
}

}  // namespace halvix::testing
