#include "link/break_sequence.h"

#include <cstdio>
#include <span>

namespace halvix::link {

namespace {

// Baud rates in the order of baud codes 1..9.
constexpr int kLineBauds[] = {110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
constexpr int kDataBits[] = {7, 8};  // codes 2, 3
constexpr int kStopBits[] = {1, 2};  // codes 0, 1

// The code of a number the field allows: first for the first entry of
// allowed, and on up; false for anything else.
bool CodeOf(const QByteArray& text, std::span<const int> allowed, int first, std::uint8_t& code) {
  int value = 0;
  if (std::sscanf(text.constData(), "%d", &value) != 1) return false;
  for (std::size_t i = 0; i < allowed.size(); ++i) {
    if (allowed[i] == value) {
      code = static_cast<std::uint8_t>(first + static_cast<int>(i));
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParsePortSettingsLine(const QByteArray& line, PortSettings& settings) {
  const qsizetype semicolon = line.indexOf(';');
  if (semicolon < 0) return false;
  qsizetype pos = semicolon + 1;
  for (int field = 1; field <= 7; ++field) {
    const qsizetype comma = line.indexOf(',', pos);
    if (comma < 0) return false;
    const QByteArray text = line.mid(pos, comma - pos);
    pos = comma + 1;
    switch (field) {
      case 2:
        if (!text.startsWith('0') && !text.startsWith('1')) return false;
        break;
      case 4:
        if (!CodeOf(text, kLineBauds, 1, settings.baudCode)) return false;
        break;
      case 5:
        if (!CodeOf(text, kDataBits, 2, settings.dataBitsCode)) return false;
        break;
      case 6:
        if (!CodeOf(text, kStopBits, 0, settings.stopBitsCode)) return false;
        break;
      case 7: {
        const char c = text.isEmpty() ? '\0' : text.at(0);
        if (c == 'N') settings.parityCode = 0;
        else if (c == 'O') settings.parityCode = 1;
        else if (c == 'E') settings.parityCode = 2;
        else return false;
        break;
      }
      default:
        break;  // fields 1 and 3 are not read
    }
  }
  return true;
}

}  // namespace halvix::link
