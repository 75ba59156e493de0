// The receiver's view of its serial ports: the settings record it keeps for
// port A and port B, its own baud table, and the "PR" port-settings line it
// sends after a BREAK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/serial_device.h"

namespace halvix::sim {

struct ReceiverPort {
  std::uint8_t inBaud = 7;       // 0 none, 1..9 = 110..38400
  std::uint8_t outBaud = 7;
  std::uint8_t dataBits = 3;     // 0..3 = 5..8 bits
  std::uint8_t parity = 1;       // 0 none, 1 odd, 2 even
  std::uint8_t stopBits = 0;     // 0 = 1 bit, 1 = 2 bits
  std::uint8_t flowControl = 0;
  std::uint8_t inProtocol = 2;   // 0 none, 2 QLIP, 8 RTCM
  std::uint8_t outProtocol = 2;  // 0 none, 2 QLIP, 4 NMEA
  bool operator==(const ReceiverPort&) const = default;
};

inline constexpr std::uint8_t kProtocolQlip = 2;
inline constexpr std::uint8_t kProtocolNmea = 4;
inline constexpr std::uint8_t kProtocolRtcm = 8;

// True when the line codes lie inside the receiver's tables.
bool PortCodesValid(std::uint8_t baud, std::uint8_t dataBits, std::uint8_t parity, std::uint8_t stopBits);
// Baud rate for a code; code 0 ("none") leaves the UART at 9600.
std::optional<int> BaudForCode(std::uint8_t code);
// The line the port runs, or 9600 8-None-1 for codes outside the tables.
link::LineSettings LineOf(const ReceiverPort& port);
// The line a BREAK puts the port on until new settings arrive.
link::LineSettings ServiceLine();

// "PR <product>;A,0,QLIP,9600,8,1,O,QLIP\r\n": fields after the semicolon are
// port letter, port number, input protocol, baud, data bits, stop bits,
// parity letter and output protocol.
std::string PortSettingsLine(const std::string& productName, int portIndex, const ReceiverPort& port);

}  // namespace halvix::sim
