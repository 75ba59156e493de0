#include "tests/support/wire_frames.h"

namespace halvix::testing {

QByteArray WireBytes(std::initializer_list<int> bytes) {
  QByteArray out;
  for (int b : bytes) out.append(static_cast<char>(b));
  return out;
}

std::vector<QByteArray> SplitFrames(const QByteArray& wire) {
  std::vector<QByteArray> frames;
  QByteArray current;
  bool inFrame = false, dle = false;
  for (const char ch : wire) {
    const auto b = static_cast<unsigned char>(ch);
    if (dle) {
      dle = false;
      if (b == 0x10) {
        current.append('\x10');
      } else if (b == 0x03) {
        if (inFrame) frames.push_back(current);
        inFrame = false;
        current.clear();
      } else {
        inFrame = true;
        current = QByteArray(1, static_cast<char>(b));
      }
      continue;
    }
    if (b == 0x10) dle = true;
    else if (inFrame) current.append(static_cast<char>(b));
  }
  return frames;
}

}  // namespace halvix::testing
