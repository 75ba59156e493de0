// What a serial line delivers between two UARTs: exact bytes when both ends
// agree on the line settings, deterministic junk when they do not.
#pragma once

#include <cstdint>

#include "link/serial_device.h"
#include "sim/wire.h"

namespace halvix::sim {

class LineGarbler {
 public:
  // Bytes sent at the sender's settings as the receiver's UART reads them.
  // A mismatch of baud, data bits, parity or stop bits turns every byte into
  // junk with the top bit set, so it can never look like DLE or text; with
  // fewer than 8 data bits on both ends the top bits are lost.
  Bytes deliver(const Bytes& data, const link::LineSettings& sender, const link::LineSettings& receiver);

 private:
  std::uint32_t counter_ = 0;
};

}  // namespace halvix::sim
