#include "link/break_sequence.h"

#include <cstdio>

namespace halvix::link {

namespace {

// Baud rates in the order of baud codes 1..9.
constexpr unsigned kLineBauds[] = {110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400};

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
      case 4: {
        unsigned baud = 0;
        if (std::sscanf(text.constData(), "%u", &baud) != 1) return false;
        int code = 0;
        for (int i = 0; i < 9; ++i) {
          if (kLineBauds[i] == baud) code = i + 1;
        }
        if (code == 0) return false;
        settings.baudCode = static_cast<std::uint8_t>(code);
        break;
      }
      case 5: {
        int bits = 0;
        if (std::sscanf(text.constData(), "%d", &bits) != 1) return false;
        if (bits == 7) settings.dataBitsCode = 2;
        else if (bits == 8) settings.dataBitsCode = 3;
        else return false;
        break;
      }
      case 6: {
        int stop = 0;
        if (std::sscanf(text.constData(), "%d", &stop) != 1) return false;
        if (stop == 1) settings.stopBitsCode = 0;
        else if (stop == 2) settings.stopBitsCode = 1;
        else return false;
        break;
      }
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
