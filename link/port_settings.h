// The seven-byte serial settings record shared by the receiver's set serial
// port command, the PC side of the link, the serial dialog and the break
// sequence, with the tables that map its codes to line parameters and texts.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "link/serial_device.h"

namespace halvix::link {

struct PortSettings {
  std::uint8_t port = 0;            // 0 port A, 1 port B, 0xFF the port a command arrives on
  std::uint8_t baudCode = 0;        // 0..9
  std::uint8_t dataBitsCode = 0;    // 0..3 = 5..8 data bits
  std::uint8_t parityCode = 0;      // 0 none, 1 odd, 2 even
  std::uint8_t stopBitsCode = 0;    // 0 = 1 stop bit, 1 = 2 stop bits
  std::uint8_t inputProtocol = 0;   // 0 none, 2 QLIP, 8 RTCM
  std::uint8_t outputProtocol = 0;  // 0 none, 2 QLIP, 4 NMEA
  bool operator==(const PortSettings&) const = default;
};

inline constexpr int kBaudCodeCount = 10;
inline constexpr int kDataBitsCodeCount = 4;
inline constexpr int kParityCodeCount = 3;
inline constexpr int kStopBitsCodeCount = 2;

// True when every line code (bytes 1 to 4) lies inside its table.
bool PortSettingsValid(const PortSettings& settings);

// Line parameters for the PC port, or nothing for codes outside the tables.
std::optional<LineSettings> LineSettingsFor(const PortSettings& settings);

// "<port> %s, %s-%s-%s", e.g. "COM1 9600, 8-None-1" for the port label "COM1";
// nothing for codes outside the tables.
std::optional<QString> PortSettingsCaption(const QString& portLabel, const PortSettings& settings);

// Caption shown when the port has just opened at 9600 8-None-1.
QString OpenedPortCaption(const QString& portLabel);

// The receiver's defaults: 9600 baud, 8 data bits, odd parity, 1 stop bit, QLIP both ways.
void DefaultPortSettings(std::uint8_t port, PortSettings& settings);

// What the break sequence sends: the line as read from the receiver's settings
// line (its defaults where nothing was read as far as the data bits), with 8
// data bits, QLIP both ways, on the port the command arrives on.
void CompleteNegotiatedSettings(PortSettings& settings);

// Baud rate on the PC port for a baud code (code 0, "None", runs at 9600).
std::optional<int> BaudRateForCode(int baudCode);

}  // namespace halvix::link
