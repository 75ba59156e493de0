// Fuzz target: arbitrary bytes as a recording through halvix-decode's path,
// in each output form, in the stability analysis and the event list, fed in pieces whose sizes
// come from the input. Nothing may read or write past a buffer, and every line
// must end where the next begins.
#include <cstdint>
#include <cstdlib>

#include "recording/decode_events.h"
#include "recording/decode_output.h"
#include "recording/decode_stability.h"

using namespace halvix::recording;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int form = data[0] % 3;
  const std::size_t piece = 1 + data[1] % 64;
  data += 2;
  size -= 2;

  LineOutput out;
  DecodeOptions options;
  options.format = form == 0 ? DecodeFormat::Text : form == 1 ? DecodeFormat::Csv : DecodeFormat::JsonLines;
  DecodeSession session(options, out);
  StabilityCollector stability;
  LineOutput eventLines;
  EventCollector events(options.format, eventLines);
  for (std::size_t at = 0; at < size; at += piece) {
    const std::size_t n = size - at < piece ? size - at : piece;
    session.feed(data + at, n);
    stability.feed(data + at, n);
    events.feed(data + at, n);
  }
  session.finish();
  stability.finish();
  events.finish();
  (void)events.summary();
  stability.write(options.format, out);
  (void)session.summary();
  (void)stability.summary();
  // Every packet and problem is a line of its own.
  std::size_t lines = 0;
  for (const char c : out.text()) lines += c == '\n';
  if (lines < static_cast<std::size_t>(session.packets() + session.problems())) std::abort();
  return 0;
}
