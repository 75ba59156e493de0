#include "link/port_settings.h"

#include <array>

namespace halvix::link {
namespace {

constexpr std::array<int, kBaudCodeCount> kBaudRates = {9600, 110,  300,  600,   1200,
                                                        2400, 4800, 9600, 19200, 38400};
constexpr std::array<const char*, kBaudCodeCount> kBaudTexts = {
    "0000", "110", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400"};
constexpr std::array<int, kDataBitsCodeCount> kDataBits = {5, 6, 7, 8};
constexpr std::array<const char*, kDataBitsCodeCount> kDataBitsTexts = {"5", "6", "7", "8"};
constexpr std::array<Parity, kParityCodeCount> kParities = {Parity::None, Parity::Odd,
                                                            Parity::Even};
constexpr std::array<const char*, kParityCodeCount> kParityTexts = {"None", "Odd", "Even"};
constexpr std::array<StopBits, kStopBitsCodeCount> kStopBits = {StopBits::One, StopBits::Two};
constexpr std::array<const char*, kStopBitsCodeCount> kStopBitsTexts = {"1", "2"};

}  // namespace

bool PortSettingsValid(const PortSettings& s) {
  return s.baudCode < kBaudCodeCount && s.dataBitsCode < kDataBitsCodeCount &&
         s.parityCode < kParityCodeCount && s.stopBitsCode < kStopBitsCodeCount;
}

std::optional<LineSettings> LineSettingsFor(const PortSettings& s) {
  if (!PortSettingsValid(s)) return std::nullopt;
  return LineSettings{kBaudRates[s.baudCode], kDataBits[s.dataBitsCode], kParities[s.parityCode],
                      kStopBits[s.stopBitsCode]};
}

std::optional<QString> PortSettingsCaption(const QString& portLabel, const PortSettings& s) {
  if (!PortSettingsValid(s)) return std::nullopt;
  return portLabel + QString::asprintf(" %s, %s-%s-%s", kBaudTexts[s.baudCode],
                                       kDataBitsTexts[s.dataBitsCode], kParityTexts[s.parityCode],
                                       kStopBitsTexts[s.stopBitsCode]);
}

QString OpenedPortCaption(const QString& portLabel) {
  // The line the port opens at: 9600 baud, 8 data bits, no parity, 1 stop bit.
  return *PortSettingsCaption(portLabel, PortSettings{0, 7, 3, 0, 0, 0, 0});
}

void CompleteNegotiatedSettings(PortSettings& s) {
  if (s.dataBitsCode == 0) {
    // No line was read as far as the data bits: the receiver's defaults.
    DefaultPortSettings(0xFF, s);
    return;
  }
  s.dataBitsCode = 3;
  s.inputProtocol = 2;
  s.outputProtocol = 2;
  s.port = 0xFF;
}

void DefaultPortSettings(std::uint8_t port, PortSettings& s) {
  s.port = port;
  s.baudCode = 7;
  s.dataBitsCode = 3;
  s.parityCode = 1;
  s.stopBitsCode = 0;
  s.inputProtocol = 2;
  s.outputProtocol = 2;
}

std::optional<int> BaudRateForCode(int baudCode) {
  if (baudCode < 0 || baudCode >= kBaudCodeCount) return std::nullopt;
  return kBaudRates[static_cast<std::size_t>(baudCode)];
}

}  // namespace halvix::link
