// The base of devices that only carry bytes (a recording played back, a
// captured stream, fuzz input): there is no line behind them, so line
// settings, BREAK, RTS, drain and purge succeed and change nothing.
#pragma once

#include "link/serial_device.h"

namespace halvix::link {

class ByteStreamDevice : public SerialDevice {
 public:
  bool setLine(const LineSettings&) override { return true; }
  bool drain() override { return true; }
  void purge() override {}
  bool setBreak(bool) override { return true; }
  bool setRts(bool) override { return true; }
};

}  // namespace halvix::link
