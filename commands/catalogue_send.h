// Shared by the catalogue's sources: hands a built packet to the link.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "link/serial_link.h"

namespace halvix::commands::detail {

template <std::size_t N>
void Send(link::SerialLink& link, const std::array<std::uint8_t, N>& packet) {
  static_assert(N >= 1 && N <= 512);
  link.SendPacket(static_cast<int>(N), packet.data());
}

// A super-packet (0x8E) query carries only its sub-code.
inline void SendSuperQuery(link::SerialLink& link, std::uint8_t subCode) {
  Send(link, std::array<std::uint8_t, 2>{0x8E, subCode});
}

}  // namespace halvix::commands::detail
