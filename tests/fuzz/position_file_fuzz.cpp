// Fuzz target: any file chosen as a position file, read as its first record
// and shown again with the digits it held.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "commands/position_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data),
                        static_cast<qsizetype>(std::min<std::size_t>(size, halvix::commands::kPositionFileReadLimit)));
  if (const auto r = halvix::commands::ParsePositionRecord(text)) {
    for (int i = 0; i < 3; ++i) (void)QString::number(r->values[i], 'f', r->decimals[i]);
  }
  return 0;
}
