// Fuzz target: whatever a serial server sends on an rfc2217:// connection is
// split into data and telnet commands, in pieces as reads cut it, and every
// COM-PORT reply is read. Data escaped for the wire must come back unchanged.
#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "link/telnet_codec.h"

using namespace halvix::link::telnet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the read size and the mode; the rest is the stream.
  const int piece = 1 + (data[0] & 0x3F);
  const bool binary = (data[0] & 0x40) != 0;
  const std::uint8_t* stream = data + 1;
  const auto length = static_cast<std::int64_t>(size - 1);

  Decoder decoder;
  decoder.setBinary(binary);
  QByteArray out;
  auto sink = [](const Event& e) {
    if (e.payload.size() > kMaxSubnegotiation) std::abort();
    if (e.kind != Event::Kind::Subnegotiation || e.option != kOptionComPort) return;
    if (const auto reply = ParseComPortReply(e.payload)) {
      (void)BaudFromValue(reply->value);
      if (!reply->value.isEmpty()) {
        (void)ParityFromValue(static_cast<std::uint8_t>(reply->value[0]));
        (void)StopBitsFromValue(static_cast<std::uint8_t>(reply->value[0]));
      }
    }
  };
  for (std::int64_t i = 0; i < length; i += piece) {
    decoder.feed(stream + i, std::min<std::int64_t>(piece, length - i), out, sink);
  }
  if (out.size() > length) std::abort();

  // The same bytes as data: escaped, then decoded, they are what they were.
  const QByteArray wire = EscapeData(stream, length, binary);
  Decoder back;
  back.setBinary(binary);
  QByteArray again;
  bool events = false;
  back.feed(wire, again, [&events](const Event&) { events = true; });
  if (events || again != QByteArray(reinterpret_cast<const char*>(stream), static_cast<qsizetype>(length))) {
    std::abort();
  }
  return 0;
}
