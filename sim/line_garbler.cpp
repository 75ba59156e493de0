#include "sim/line_garbler.h"

namespace halvix::sim {

Bytes LineGarbler::deliver(const Bytes& data, const link::LineSettings& sender, const link::LineSettings& receiver) {
  Bytes out;
  out.reserve(data.size());
  if (sender == receiver) {
    const int bits = sender.dataBits >= 8 ? 8 : sender.dataBits < 5 ? 5 : sender.dataBits;
    const auto keep = static_cast<std::uint8_t>((1u << bits) - 1u);
    for (std::uint8_t b : data) out.push_back(static_cast<std::uint8_t>(b & keep));
    return out;
  }
  for (std::uint8_t b : data) {
    ++counter_;
    out.push_back(static_cast<std::uint8_t>(0x80 | ((b * 37u + counter_ * 11u + 0x5Au) & 0x7Fu)));
  }
  return out;
}

}  // namespace halvix::sim
