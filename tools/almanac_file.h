// The almanac data file: two zero bytes, then one record per system data
// block, back to back. A record is 0x82, type, SV (per-satellite types 1 and
// 2 only), length n, n data bytes as the receiver sent them, 0x83. Nothing is
// escaped: the length alone delimits the data. Reading skips any byte
// outside a record while it looks for the next start marker.
#pragma once

#include <QIODevice>
#include <array>
#include <cstdint>

namespace halvix::tools {

inline constexpr std::uint8_t kRecordStart = 0x82;
inline constexpr std::uint8_t kRecordEnd = 0x83;
inline constexpr int kRecordMaxData = 255;
// Start, type, SV, length, data, end.
inline constexpr int kRecordMaxSize = 5 + kRecordMaxData;

// Types 1 and 2 carry an SV number; 3 to 5 do not.
bool IsPerSvType(int type);
// Types the file may hold (1 to 5).
bool IsKnownType(int type);

// Lays out one record in out; returns its size. A length over 255 is cut to 255.
int EncodeAlmanacRecord(std::uint8_t type, std::uint8_t sv, const std::uint8_t* data, int n,
                        std::array<std::uint8_t, kRecordMaxSize>& out);

struct AlmanacBlock {
  std::uint8_t type = 0;
  std::uint8_t sv = 0;  // 0 for types 3 to 5
  int length = 0;
  std::array<std::uint8_t, kRecordMaxData> data{};
  // The type (and SV) were read and are valid: the block has a name in the log.
  bool headerValid = false;
};

enum class AlmanacRead {
  Block,           // a complete record is in the block
  End,             // end of file, a truncated record, or an SV outside 1..32
  UnknownType,     // a type outside 1..5
  BadEndMarker,    // the byte after the data is not 0x83
};

// Reads the next record. On End, headerValid tells whether the end came
// after a valid type and SV (the block was named but is incomplete).
AlmanacRead ReadAlmanacRecord(QIODevice& file, AlmanacBlock& block);

}  // namespace halvix::tools
