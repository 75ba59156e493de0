// The decode tool's line writer never writes past the room it is given: every
// kind of write into a buffer that is too small stops at its end, says so,
// and leaves the bytes behind it alone; with room enough it writes the forms
// the output formats share.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "recording/line_writer.h"

using halvix::recording::LineWriter;

namespace {

struct Write {
  const char* what;
  std::function<void(LineWriter&)> write;
  std::string whole;  // what it writes with room enough
};

const std::vector<Write>& Writes() {
  static const std::vector<Write> writes = {
      {"text", [](LineWriter& w) { w.put(std::string_view("Supplemental Timing")); }, "Supplemental Timing"},
      {"fill", [](LineWriter& w) { w.fill('-', 12); }, "------------"},
      {"small integer", [](LineWriter& w) { w.integer(1234567); }, "1234567"},
      {"large integer", [](LineWriter& w) { w.integer(-9'000'000'000'000LL); }, "-9000000000000"},
      {"single", [](LineWriter& w) { w.number(0.1f, true); }, "0.1"},
      {"double", [](LineWriter& w) { w.number(-1234.56789012345, false); }, "-1234.56789012345"},
      {"whole number", [](LineWriter& w) { w.number(99, true); }, "99"},
      {"not a number", [](LineWriter& w) { w.number(std::numeric_limits<double>::quiet_NaN(), false); }, "nan"},
      {"right aligned", [](LineWriter& w) { w.rightAligned(4096, 10); }, "      4096"},
      {"right aligned, wide", [](LineWriter& w) { w.rightAligned(12'345'678'901LL, 10); }, "12345678901"},
      {"json", [](LineWriter& w) { w.json("a\"b\\\x01\xE9"); }, "\"a\\\"b\\\\\\u0001\\u00e9\""},
      {"csv", [](LineWriter& w) { w.csv("say \"hi\"\r\n"); }, "\"say \"\"hi\"\"  \""},
      {"padded piece", [](LineWriter& w) {
         static const std::string piece = std::string("  receiverMode=") + std::string(LineWriter::kPadding, '\0');
         w.putPadded(piece.data(), 15);
       }, "  receiverMode="},
  };
  return writes;
}

}  // namespace

TEST(LineWriter, EveryWriteStopsAtTheEndOfItsRoom) {
  for (const Write& write : Writes()) {
    SCOPED_TRACE(write.what);
    // With room enough: the whole form, nothing flagged.
    std::array<char, 64> roomy{};
    LineWriter w(roomy.data(), roomy.data() + roomy.size());
    write.write(w);
    EXPECT_FALSE(w.overflowed());
    EXPECT_EQ(std::string(roomy.data(), w.position()), write.whole);

    // Every room from none to a block past the form: at most a prefix, flagged
    // when cut, and the guard bytes behind the room untouched.
    for (std::size_t room = 0; room < write.whole.size() + 17; ++room) {
      std::array<char, 80> buffer;
      buffer.fill('#');
      LineWriter cut(buffer.data(), buffer.data() + room);
      write.write(cut);
      EXPECT_EQ(cut.overflowed(), room < write.whole.size()) << room;
      EXPECT_LE(cut.position(), buffer.data() + room);
      EXPECT_EQ(std::string(buffer.data() + room, buffer.end()), std::string(buffer.size() - room, '#')) << room;
      if (room >= write.whole.size()) {
        EXPECT_EQ(std::string(buffer.data(), cut.position()), write.whole) << room;
      }
      const std::string written(buffer.data(), cut.position());
      EXPECT_EQ(written, write.whole.substr(0, written.size())) << room;
    }
  }
}

TEST(LineWriter, PaddingCountsFromWhereTheColumnStarted) {
  std::array<char, 32> buffer{};
  LineWriter w(buffer.data(), buffer.data() + buffer.size());
  const char* from = w.position();
  w.put("8F-AB");
  w.padFrom(from, 7);
  w.put('|');
  from = w.position();
  w.put("too long for it");
  w.padFrom(from, 4);
  EXPECT_EQ(std::string(buffer.data(), w.position()), "8F-AB  |too long for it");
  EXPECT_FALSE(w.overflowed());
}
