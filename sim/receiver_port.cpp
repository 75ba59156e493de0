#include "sim/receiver_port.h"

#include <array>

namespace halvix::sim {
namespace {

constexpr std::array<int, 10> kBauds = {0, 110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400};

const char* ProtocolName(std::uint8_t code) {
  switch (code) {
    case kProtocolQlip:
      return "QLIP";
    case kProtocolNmea:
      return "NMEA";
    case kProtocolRtcm:
      return "RTCM";
    default:
      return "NONE";
  }
}

}  // namespace

bool PortCodesValid(std::uint8_t baud, std::uint8_t dataBits, std::uint8_t parity, std::uint8_t stopBits) {
  return baud < kBauds.size() && dataBits <= 3 && parity <= 2 && stopBits <= 1;
}

std::optional<int> BaudForCode(std::uint8_t code) {
  if (code >= kBauds.size()) return std::nullopt;
  return code == 0 ? 9600 : kBauds[code];
}

link::LineSettings LineOf(const ReceiverPort& p) {
  if (!PortCodesValid(p.inBaud, p.dataBits, p.parity, p.stopBits)) return ServiceLine();
  link::LineSettings line;
  line.baud = *BaudForCode(p.inBaud);
  line.dataBits = 5 + p.dataBits;
  line.parity = p.parity == 1 ? link::Parity::Odd : p.parity == 2 ? link::Parity::Even : link::Parity::None;
  line.stopBits = p.stopBits == 1 ? link::StopBits::Two : link::StopBits::One;
  return line;
}

link::LineSettings ServiceLine() { return link::LineSettings{9600, 8, link::Parity::None, link::StopBits::One}; }

std::string PortSettingsLine(const std::string& productName, int portIndex, const ReceiverPort& p) {
  const bool valid = PortCodesValid(p.inBaud, p.dataBits, p.parity, p.stopBits);
  const int baud = valid ? kBauds[p.inBaud] : 0;
  const int bits = valid ? 5 + p.dataBits : 0;
  const int stops = p.stopBits == 1 ? 2 : 1;
  const char parity = p.parity == 1 ? 'O' : p.parity == 2 ? 'E' : 'N';
  std::string line = "PR " + productName + ";";
  line += portIndex == 0 ? "A," : "B,";
  line += std::to_string(portIndex) + ",";
  line += std::string(ProtocolName(p.inProtocol)) + ",";
  line += std::to_string(baud) + "," + std::to_string(bits) + "," + std::to_string(stops) + ",";
  line += parity;
  line += ",";
  line += ProtocolName(p.outProtocol);
  line += "\r\n";
  return line;
}

}  // namespace halvix::sim
