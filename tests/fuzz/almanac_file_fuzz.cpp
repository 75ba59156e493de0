// Fuzz target: any file chosen for an almanac upload, read record by record
// as the upload reads it, and each block laid out again as it would be sent.
#include <QBuffer>
#include <QByteArray>
#include <cstdint>

#include "tools/almanac_file.h"

using namespace halvix::tools;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QBuffer file(&bytes);
  file.open(QIODevice::ReadOnly);
  AlmanacBlock block;
  std::array<std::uint8_t, kRecordMaxSize> out{};
  for (int records = 0; records < 10000; ++records) {
    const AlmanacRead r = ReadAlmanacRecord(file, block);
    if (r != AlmanacRead::Block) break;
    (void)EncodeAlmanacRecord(block.type, block.sv, block.data.data(), block.length, out);
  }
  return 0;
}
