#include "tools/decode_output.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "reports/report_registry.h"

namespace halvix::tools {

namespace {


// Columns of the text form: offset, kind, report name.
constexpr std::size_t kOffsetWidth = 10;
constexpr std::size_t kKindWidth = 7;
constexpr std::size_t kNameWidth = 26;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

int DigitCount(std::uint32_t v) {
  return v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : v < 10'000 ? 4 : v < 100'000 ? 5 : v < 1'000'000 ? 6 : v < 10'000'000 ? 7 : 8;
}

// Writes v (below 10^8) in decimal as n digits ending at out + n.
char* Digits(char* out, std::uint32_t v, int n) {
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

// Writes one line into the output's buffer: no checks per piece, the buffer
// has room for the longest line.
struct Cursor {
  char* p;

  void put(char c) { *p++ = c; }
  void put(std::string_view s) {
    std::memcpy(p, s.data(), s.size());
    p += s.size();
  }
  void padFrom(const char* from, std::size_t width) {
    const auto used = static_cast<std::size_t>(p - from);
    if (used < width) {
      std::memset(p, ' ', width - used);
      p += width - used;
    }
  }
  // Copies n bytes of a padded piece in whole 16-byte steps, without a call:
  // the source may be read, and the line written, up to 15 bytes past n.
  void padded(const char* from, std::size_t n) {
    for (std::size_t i = 0; i < n; i += 16) std::memcpy(p + i, from + i, 16);
    p += n;
  }
  void integer(std::int64_t v) {
    // Counts, codes and flags are mostly small: two digits at a time.
    if (v >= 0 && v < 100'000'000) {
      const auto u = static_cast<std::uint32_t>(v);
      p = Digits(p, u, DigitCount(u));
      return;
    }
    p = std::to_chars(p, p + 24, v).ptr;
  }
  void number(double v, bool single) {
    // Whole numbers (zeros, counts, 99 DOPs) are common and far cheaper as integers.
    if (v > -1e15 && v < 1e15 && v == static_cast<double>(static_cast<std::int64_t>(v)) &&
        !(v == 0 && std::signbit(v))) {
      integer(static_cast<std::int64_t>(v));
      return;
    }
    p = single ? std::to_chars(p, p + 40, static_cast<float>(v)).ptr : std::to_chars(p, p + 40, v).ptr;
  }
  void rightAligned(std::int64_t v, std::size_t width) {
    if (v >= 0 && v < 100'000'000 && width >= 8) {
      const auto u = static_cast<std::uint32_t>(v);
      const int n = DigitCount(u);
      std::memset(p, ' ', width);
      Digits(p + width - static_cast<std::size_t>(n), u, n);
      p += width;
      return;
    }
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    const auto n = static_cast<std::size_t>(end - buf);
    if (n < width) {
      std::memset(p, ' ', width - n);
      p += width - n;
    }
    put(std::string_view(buf, n));
  }
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
  void csv(std::string_view text) {
    put('"');
    for (const char c : text) {
      if (c == '"') put('"');
      // A line end inside a field would cut the row for most readers.
      put(c == '\r' || c == '\n' ? ' ' : c);
    }
    put('"');
  }
  void value(const ReportDecoder& d, const DecodedField& f) {
    switch (f.type) {
      case FieldType::Integer: integer(f.integer); break;
      case FieldType::Single: number(f.number, true); break;
      case FieldType::Double: number(f.number, false); break;
      case FieldType::Text: put(d.text(f)); break;
    }
  }
  void columnName(const DecodedField& f) {
    put(f.name);
    if (!f.unit.empty()) {
      put(" (");
      put(f.unit);
      put(')');
    }
  }
};

bool Finite(const DecodedField& f) {
  return f.type == FieldType::Integer || f.type == FieldType::Text || std::isfinite(f.number);
}

void Header(LineOutput& out, std::string_view prefix, const ReportDecoder& d) {
  Cursor c{out.line()};
  c.put(prefix);
  for (int i = 0; i < d.fieldCount(); ++i) {
    c.put(',');
    c.columnName(d.field(i));
  }
  c.put('\n');
  out.done(c.p);
}

}  // namespace

void AppendInteger(std::string& out, std::int64_t value) {
  char buf[24];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  out.append(buf, end);
}

void AppendNumber(std::string& out, double value, bool single) {
  char buf[40];
  const auto end = single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(value)).ptr
                          : std::to_chars(buf, buf + sizeof buf, value).ptr;
  out.append(buf, end);
}

LineOutput::LineOutput(std::FILE* file) : file_(file) {
  capacity_ = kFlushAt + 2 * kMaxLine;
  data_ = std::make_unique<char[]>(capacity_);
}

char* LineOutput::line() {
  if (capacity_ - size_ < kMaxLine) {
    // Only without a file (in memory) does the buffer grow.
    if (file_ != nullptr) flush();
    if (capacity_ - size_ < kMaxLine) {
      auto bigger = std::make_unique<char[]>(capacity_ * 2);
      std::memcpy(bigger.get(), data_.get(), size_);
      data_ = std::move(bigger);
      capacity_ *= 2;
    }
  }
  return data_.get() + size_;
}

void LineOutput::done(char* end) {
  size_ = static_cast<std::size_t>(end - data_.get());
  if (file_ != nullptr && size_ >= kFlushAt) flush();
}

bool LineOutput::flush() {
  if (file_ == nullptr || size_ == 0) return !failed_;
  if (std::fwrite(data_.get(), 1, size_, file_) != size_) failed_ = true;
  size_ = 0;
  return !failed_;
}

struct DecodeSession::KindFile {
  std::FILE* file = nullptr;
  std::unique_ptr<LineOutput> out;
  ~KindFile() {
    out.reset();
    if (file != nullptr) std::fclose(file);
  }
};

DecodeSession::DecodeSession(const DecodeOptions& options, LineOutput& out)
    : options_(options), out_(out), countIndex_(reports::ReportKinds().size(), -1),
      csvHeaderDone_(reports::ReportKinds().size(), false) {
  scratch_.reserve(256);
}

DecodeSession::~DecodeSession() = default;

void DecodeSession::finish() {
  deframer_.finish();
  out_.flush();
  for (auto& [kind, file] : files_) {
    if (!file->out->flush()) filesFailed_ = true;
  }
}

bool DecodeSession::outputFailed() const {
  if (filesFailed_ || out_.failed()) return true;
  for (const auto& [kind, file] : files_) {
    if (file->out->failed()) return true;
  }
  return false;
}

bool DecodeSession::shown(std::string_view kind) const {
  if (options_.only.empty()) return true;
  for (const std::string& k : options_.only) {
    if (kind == k) return true;
    if (kind.size() > k.size() && kind.substr(0, k.size()) == k && kind[k.size()] == '-') return true;
  }
  return false;
}

LineOutput& DecodeSession::csvTarget(std::string_view kind, bool problem) {
  if (options_.csvDir.empty()) return out_;
  const std::string_view name = problem ? std::string_view("problems") : kind;
  auto it = files_.find(name);
  if (it == files_.end()) {
    auto file = std::make_unique<KindFile>();
    const std::string path = options_.csvDir + "/" + std::string(name) + ".csv";
    file->file = std::fopen(path.c_str(), "wb");
    if (file->file == nullptr) filesFailed_ = true;
    file->out = std::make_unique<LineOutput>(file->file);
    it = files_.emplace(std::string(name), std::move(file)).first;
    if (problem) {
      it->second->out->append("offset,problem\n");
    } else {
      Header(*it->second->out, "offset", decoder_);
    }
  }
  LineOutput& target = *it->second->out;
  // Without its file the lines are dropped (the failure is reported), so memory stays bounded.
  if (it->second->file == nullptr) target.discard();
  return target;
}

void DecodeSession::packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) {
  const DecodeOutcome outcome = decoder_.decode(id, payload, length);
  const std::string_view kind = decoder_.kind();
  scratch_.clear();
  switch (outcome) {
    case DecodeOutcome::Decoded: {
      ++packets_;
      const int key = decoder_.row();
      std::int32_t& index = countIndex_[static_cast<std::size_t>(key)];
      if (index < 0) {
        index = static_cast<std::int32_t>(counts_.size());
        counts_.push_back({std::string(kind), std::string(decoder_.name()), 0});
        textPieces_.emplace_back();
      }
      ++counts_[static_cast<std::size_t>(index)].count;
      if (!shown(kind)) return;
      if (options_.format == DecodeFormat::Csv && options_.csvDir.empty() &&
          !csvHeaderDone_[static_cast<std::size_t>(key)]) {
        csvHeaderDone_[static_cast<std::size_t>(key)] = true;
        char prefix[24] = "#";
        kind.copy(prefix + 1, kind.size());
        std::memcpy(prefix + 1 + kind.size(), ",offset", 7);
        Header(out_, std::string_view(prefix, kind.size() + 8), decoder_);
      }
      writeReport(offset, index);
      return;
    }
    case DecodeOutcome::UnknownId:
      scratch_.append("unknown id 0x");
      scratch_.append(kind.substr(0, 2));
      break;
    case DecodeOutcome::UnknownSubCode:
      if (kind.size() == 2) {
        scratch_.append("report 0x");
        scratch_.append(kind);
        scratch_.append(" without a sub-code");
      } else {
        scratch_.append("unknown sub-code ");
        scratch_.append(kind);
      }
      break;
    case DecodeOutcome::WrongLength:
      scratch_.append(kind);
      scratch_.push_back(' ');
      scratch_.append(decoder_.name());
      scratch_.append(": wrong length");
      break;
  }
  scratch_.append(", ");
  AppendInteger(scratch_, length);
  scratch_.append(length == 1 ? " byte" : " bytes");
  const char* cls = outcome == DecodeOutcome::UnknownId        ? "unknown id"
                    : outcome == DecodeOutcome::UnknownSubCode ? "unknown sub-code"
                                                               : "wrong length";
  ++problemCounts_[cls];
  writeProblem(offset, scratch_);
}

void DecodeSession::problem(std::int64_t offset, FrameFlaw flaw, std::string_view reason) {
  const char* cls = flaw == FrameFlaw::Stray      ? "bytes outside a frame"
                    : flaw == FrameFlaw::Broken   ? "broken frame"
                    : flaw == FrameFlaw::Overlong ? "frame over 512 bytes"
                                                  : "stream cut short";
  ++problemCounts_[cls];
  writeProblem(offset, reason);
}

void DecodeSession::writeProblem(std::int64_t offset, std::string_view reason) {
  ++problems_;
  LineOutput& target = options_.format == DecodeFormat::Csv ? csvTarget({}, true) : out_;
  Cursor c{target.line()};
  switch (options_.format) {
    case DecodeFormat::Text: {
      c.rightAligned(offset, kOffsetWidth);
      c.put("  ");
      const char* from = c.p;
      c.put('!');
      c.padFrom(from, kKindWidth);
      from = c.p;
      c.put("problem");
      c.padFrom(from, kNameWidth);
      c.put(' ');
      c.put(reason);
      break;
    }
    case DecodeFormat::Csv:
      if (options_.csvDir.empty()) c.put("problem,");
      c.integer(offset);
      c.put(',');
      c.csv(reason);
      break;
    case DecodeFormat::JsonLines:
      c.put("{\"offset\":");
      c.integer(offset);
      c.put(",\"problem\":");
      c.json(reason);
      c.put('}');
      break;
  }
  c.put('\n');
  target.done(c.p);
}

// A kind's text line is its offset, then fixed text and values in turn:
// "8F-AC  Supplemental Timing        receiverMode=", value, "  surveyProgress=",
// value, " %  minorAlarms=", ... The fixed pieces are rendered once per kind
// and kept while its layout gives the same fields (a count of satellites can
// change them).
struct DecodeSession::TextPieces {
  std::vector<const char*> names;
  std::vector<const char*> units;
  std::string text;                 // every piece, then padding for whole-step copies
  std::vector<std::uint32_t> ends;  // where each piece ends in text
};

const DecodeSession::TextPieces& DecodeSession::textPieces(std::int32_t index) {
  const ReportDecoder& d = decoder_;
  auto& slot = textPieces_[static_cast<std::size_t>(index)];
  const auto n = static_cast<std::size_t>(d.fieldCount());
  if (slot != nullptr && slot->names.size() == n) {
    bool same = true;
    for (std::size_t i = 0; i < n && same; ++i) {
      const DecodedField& f = d.field(static_cast<int>(i));
      same = f.name.data() == slot->names[i] && f.unit.data() == slot->units[i];
    }
    if (same) return *slot;
  }
  if (slot == nullptr) slot = std::make_unique<TextPieces>();
  TextPieces& t = *slot;
  t.names.clear();
  t.units.clear();
  t.text.clear();
  t.ends.clear();
  t.text.append("  ");
  t.text.append(d.kind());
  t.text.append(kKindWidth > d.kind().size() ? kKindWidth - d.kind().size() : 0, ' ');
  t.text.append(d.name());
  t.text.append(kNameWidth > d.name().size() ? kNameWidth - d.name().size() : 0, ' ');
  for (std::size_t i = 0; i < n; ++i) {
    const DecodedField& f = d.field(static_cast<int>(i));
    t.names.push_back(f.name.data());
    t.units.push_back(f.unit.data());
    t.text.append(i == 0 ? " " : "  ");
    t.text.append(f.name);
    t.text.push_back('=');
    if (f.type == FieldType::Text) t.text.push_back('"');
    t.ends.push_back(static_cast<std::uint32_t>(t.text.size()));
    if (f.type == FieldType::Text) t.text.push_back('"');
    if (!f.unit.empty()) {
      t.text.push_back(' ');
      t.text.append(f.unit);
    }
  }
  t.ends.push_back(static_cast<std::uint32_t>(t.text.size()));
  t.text.append(16, '\0');
  return t;
}

char* DecodeSession::writeText(char* p, std::int32_t index) {
  const ReportDecoder& d = decoder_;
  const TextPieces& t = textPieces(index);
  Cursor c{p};
  const char* text = t.text.data();
  std::uint32_t from = 0;
  for (int i = 0; i < d.fieldCount(); ++i) {
    const std::uint32_t end = t.ends[static_cast<std::size_t>(i)];
    c.padded(text + from, end - from);
    from = end;
    c.value(d, d.field(i));
  }
  c.padded(text + from, t.ends.back() - from);
  return c.p;
}

void DecodeSession::writeReport(std::int64_t offset, std::int32_t index) {
  const ReportDecoder& d = decoder_;
  LineOutput& target = options_.format == DecodeFormat::Csv ? csvTarget(d.kind(), false) : out_;
  Cursor c{target.line()};
  switch (options_.format) {
    case DecodeFormat::Text:
      c.rightAligned(offset, kOffsetWidth);
      c.p = writeText(c.p, index);
      break;
    case DecodeFormat::Csv:
      if (options_.csvDir.empty()) {
        c.put(d.kind());
        c.put(',');
      }
      c.integer(offset);
      for (int i = 0; i < d.fieldCount(); ++i) {
        const DecodedField& f = d.field(i);
        c.put(',');
        if (f.type == FieldType::Text) {
          c.csv(d.text(f));
        } else {
          c.value(d, f);
        }
      }
      break;
    case DecodeFormat::JsonLines: {
      c.put("{\"offset\":");
      c.integer(offset);
      c.put(",\"kind\":\"");
      c.put(d.kind());
      c.put("\",\"report\":");
      c.json(d.name());
      c.put(",\"fields\":{");
      bool anyUnit = false;
      for (int i = 0; i < d.fieldCount(); ++i) {
        const DecodedField& f = d.field(i);
        if (i > 0) c.put(',');
        c.put('"');
        c.put(f.name);
        c.put("\":");
        if (f.type == FieldType::Text) {
          c.json(d.text(f));
        } else if (!Finite(f)) {
          c.put("null");
        } else {
          c.value(d, f);
        }
        anyUnit = anyUnit || !f.unit.empty();
      }
      c.put('}');
      if (anyUnit) {
        c.put(",\"units\":{");
        bool first = true;
        for (int i = 0; i < d.fieldCount(); ++i) {
          const DecodedField& f = d.field(i);
          if (f.unit.empty()) continue;
          if (!first) c.put(',');
          first = false;
          c.put('"');
          c.put(f.name);
          c.put("\":\"");
          c.put(f.unit);
          c.put('"');
        }
        c.put('}');
      }
      c.put('}');
      break;
    }
  }
  c.put('\n');
  target.done(c.p);
}

std::string DecodeSession::summary() const {
  std::string s;
  for (const Count& c : counts_) {
    s.append(c.name);
    s.append(" (");
    s.append(c.kind);
    s.append("): ");
    AppendInteger(s, c.count);
    s.push_back('\n');
  }
  s.append("packets: ");
  AppendInteger(s, packets_);
  s.append(", problems: ");
  AppendInteger(s, problems_);
  s.push_back('\n');
  for (const auto& [cls, count] : problemCounts_) {
    s.append("  ");
    s.append(cls);
    s.append(": ");
    AppendInteger(s, count);
    s.push_back('\n');
  }
  return s;
}

}  // namespace halvix::tools
