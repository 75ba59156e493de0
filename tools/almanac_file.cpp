#include "tools/almanac_file.h"

#include <algorithm>

namespace halvix::tools {

namespace {

constexpr int kMaxSv = 32;

bool ReadByte(QIODevice& file, std::uint8_t& b) {
  char c = 0;
  if (!file.getChar(&c)) return false;
  b = static_cast<std::uint8_t>(c);
  return true;
}

}  // namespace

bool IsPerSvType(int type) { return type == 1 || type == 2; }

bool IsKnownType(int type) { return type >= 1 && type <= 5; }

int EncodeAlmanacRecord(std::uint8_t type, std::uint8_t sv, const std::uint8_t* data, int n,
                        std::array<std::uint8_t, kRecordMaxSize>& out) {
  n = std::clamp(n, 0, kRecordMaxData);
  if (data == nullptr) n = 0;
  int i = 0;
  out[i++] = kRecordStart;
  out[i++] = type;
  if (IsPerSvType(type)) out[i++] = sv;
  out[i++] = static_cast<std::uint8_t>(n);
  std::copy_n(data, n, out.begin() + i);
  i += n;
  out[i++] = kRecordEnd;
  return i;
}

AlmanacRead ReadAlmanacRecord(QIODevice& file, AlmanacBlock& block) {
  block = AlmanacBlock{};
  std::uint8_t b = 0;
  do {
    if (!ReadByte(file, b)) return AlmanacRead::End;
  } while (b != kRecordStart);

  if (!ReadByte(file, block.type)) return AlmanacRead::End;
  if (IsPerSvType(block.type)) {
    if (!ReadByte(file, block.sv) || block.sv < 1 || block.sv > kMaxSv) return AlmanacRead::End;
  } else if (!IsKnownType(block.type)) {
    return AlmanacRead::UnknownType;
  }
  block.headerValid = true;

  std::uint8_t n = 0;
  if (!ReadByte(file, n)) return AlmanacRead::End;
  block.length = n;
  if (file.read(reinterpret_cast<char*>(block.data.data()), n) != n) return AlmanacRead::End;
  if (!ReadByte(file, b)) return AlmanacRead::End;
  return b == kRecordEnd ? AlmanacRead::Block : AlmanacRead::BadEndMarker;
}

}  // namespace halvix::tools
