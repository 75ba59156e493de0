// One output line written into a fixed span of a buffer. Every write is
// bounded by the span's end: what does not fit is cut off and the line is
// marked as overflowed, never written past the end. The number and text
// forms are those every output format of the decode tool shares.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace halvix::recording {

class LineWriter {
 public:
  // What a source of putPadded must have readable past its bytes.
  static constexpr std::size_t kPadding = 16;

  LineWriter(char* begin, char* end) : p_(begin), end_(end) {}

  char* position() const { return p_; }
  // True when something did not fit.
  bool overflowed() const { return overflowed_; }

  void put(char c) {
    if (p_ < end_) {
      *p_++ = c;
    } else {
      overflowed_ = true;
    }
  }
  void put(std::string_view s) {
    std::size_t n = s.size();
    if (n > room()) {
      n = room();
      overflowed_ = true;
    }
    std::memcpy(p_, s.data(), n);
    p_ += n;
  }
  // Copies n bytes from a source that stays readable 15 bytes past n. With
  // room for those 15 bytes as well it copies whole 16-byte blocks without a
  // call (the bytes past n are overwritten by what comes next); otherwise it
  // copies exactly.
  void putPadded(const char* from, std::size_t n) {
    if (room() >= n + 15) {
      for (std::size_t i = 0; i < n; i += 16) std::memcpy(p_ + i, from + i, 16);
      p_ += n;
      return;
    }
    put(std::string_view(from, n));
  }
  void fill(char c, std::size_t n) {
    if (n > room()) {
      n = room();
      overflowed_ = true;
    }
    std::memset(p_, c, n);
    p_ += n;
  }
  // Pads with spaces up to width characters written since from.
  void padFrom(const char* from, std::size_t width) {
    const auto used = static_cast<std::size_t>(p_ - from);
    if (used < width) fill(' ', width - used);
  }

  void integer(std::int64_t v) {
    // Counts, codes and flags are mostly small: two digits at a time.
    if (v >= 0 && v < 100'000'000 && room() >= 8) {
      const auto u = static_cast<std::uint32_t>(v);
      p_ = Digits(p_, u, DigitCount(u));
      return;
    }
    char buf[24];
    put(std::string_view(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf)));
  }
  // The shortest text that reads back the same (a single as a float), or nan/inf.
  void number(double v, bool single) {
    // Whole numbers (zeros, counts, 99 DOPs) are common and far cheaper as integers.
    if (v > -1e15 && v < 1e15 && v == static_cast<double>(static_cast<std::int64_t>(v)) &&
        !(v == 0 && std::signbit(v))) {
      integer(static_cast<std::int64_t>(v));
      return;
    }
    if (room() >= 40) {
      p_ = single ? std::to_chars(p_, p_ + 40, static_cast<float>(v)).ptr : std::to_chars(p_, p_ + 40, v).ptr;
      return;
    }
    char buf[40];
    const char* e = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v)).ptr
                           : std::to_chars(buf, buf + sizeof buf, v).ptr;
    put(std::string_view(buf, static_cast<std::size_t>(e - buf)));
  }
  void rightAligned(std::int64_t v, std::size_t width) {
    if (v >= 0 && v < 100'000'000 && width >= 8 && room() >= width) {
      const auto u = static_cast<std::uint32_t>(v);
      const int n = DigitCount(u);
      std::memset(p_, ' ', width);
      Digits(p_ + width - static_cast<std::size_t>(n), u, n);
      p_ += width;
      return;
    }
    char buf[24];
    const auto n = static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf);
    if (n < width) fill(' ', width - n);
    put(std::string_view(buf, n));
  }
  // A JSON string: quotes and backslashes escaped, control and non-ASCII bytes as \u00XX.
  void json(std::string_view text) {
    put('"');
    for (const char c : text) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        put('\\');
        put(c);
      } else if (u < 0x20 || u >= 0x7F) {
        // Receiver texts are ASCII; anything else is shown by its byte value.
        static constexpr char kHex[] = "0123456789abcdef";
        put("\\u00");
        put(kHex[u >> 4]);
        put(kHex[u & 0xF]);
      } else {
        put(c);
      }
    }
    put('"');
  }
  // A CSV field in quotes, quotes doubled.
  void csv(std::string_view text) {
    put('"');
    for (const char c : text) {
      if (c == '"') put('"');
      // A line end inside a field would cut the row for most readers.
      put(c == '\r' || c == '\n' ? ' ' : c);
    }
    put('"');
  }

 private:
  std::size_t room() const { return static_cast<std::size_t>(end_ - p_); }

  static int DigitCount(std::uint32_t v) {
    return v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : v < 10'000 ? 4 : v < 100'000 ? 5 : v < 1'000'000 ? 6 : v < 10'000'000 ? 7 : 8;
  }
  // Writes v (below 10^8) in decimal as n digits ending at out + n.
  static char* Digits(char* out, std::uint32_t v, int n) {
    static constexpr char kDigitPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* q = out + n;
    while (v >= 100) {
      q -= 2;
      std::memcpy(q, kDigitPairs + 2 * (v % 100), 2);
      v /= 100;
    }
    if (v >= 10) {
      std::memcpy(q - 2, kDigitPairs + 2 * v, 2);
    } else {
      q[-1] = static_cast<char>('0' + v);
    }
    return out + n;
  }

  char* p_;
  char* end_;
  bool overflowed_ = false;
};

}  // namespace halvix::recording
