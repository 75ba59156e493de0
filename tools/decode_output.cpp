#include "tools/decode_output.h"

#include <charconv>
#include <cmath>

#include "link/report_dispatcher.h"

namespace halvix::tools {

namespace {

using link::ReportDispatcher;

// Columns of the text form: offset, kind, report name.
constexpr std::size_t kOffsetWidth = 10;
constexpr std::size_t kKindWidth = 7;
constexpr std::size_t kNameWidth = 26;

void Pad(std::string& out, std::size_t from, std::size_t width) {
  const std::size_t used = out.size() - from;
  if (used < width) out.append(width - used, ' ');
}

void RightAligned(std::string& out, std::int64_t value, std::size_t width) {
  char buf[24];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  const std::size_t n = static_cast<std::size_t>(end - buf);
  if (n < width) out.append(width - n, ' ');
  out.append(buf, n);
}

void JsonString(std::string& out, std::string_view text) {
  out.push_back('"');
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u < 0x20 || u >= 0x7F) {
      // Receiver texts are ASCII; anything else is shown by its byte value.
      static constexpr char kHex[] = "0123456789abcdef";
      out.append("\\u00");
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 0xF]);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

void CsvText(std::string& out, std::string_view text) {
  out.push_back('"');
  for (const char c : text) {
    if (c == '"') out.push_back('"');
    // A line end inside a field would cut the row for most readers.
    out.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
  out.push_back('"');
}

bool Finite(const DecodedField& f) { return f.type == FieldType::Integer || f.type == FieldType::Text || std::isfinite(f.number); }

void Value(std::string& out, const ReportDecoder& d, const DecodedField& f) {
  switch (f.type) {
    case FieldType::Integer:
      AppendInteger(out, f.integer);
      break;
    case FieldType::Single:
      AppendNumber(out, f.number, true);
      break;
    case FieldType::Double:
      AppendNumber(out, f.number, false);
      break;
    case FieldType::Text:
      out.append(d.text(f));
      break;
  }
}

void ColumnName(std::string& out, const DecodedField& f) {
  out.append(f.name);
  if (*f.unit != '\0') {
    out.append(" (");
    out.append(f.unit);
    out.push_back(')');
  }
}

int KindKey(int id, const std::uint8_t* payload, int length) {
  int sub = 0;
  if (id == ReportDispatcher::kLlaReport && length == ReportDispatcher::kAltitudeLength) {
    sub = 257;
  } else if ((id == ReportDispatcher::kSuperReport || id == ReportDispatcher::kSegmentReport) &&
             length >= 1) {
    sub = 1 + payload[0];
  }
  return (id & 0xFF) * 258 + sub;
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

bool LineOutput::flush() {
  if (file_ == nullptr || buffer_.empty()) return !failed_;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  buffer_.clear();
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
    : options_(options), out_(out), countIndex_(256 * 258, -1), csvHeaderDone_(256 * 258, false) {
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
    // Without a file the lines are kept in memory and dropped: the failure is reported.
    file->out = std::make_unique<LineOutput>(file->file);
    it = files_.emplace(std::string(name), std::move(file)).first;
    std::string& b = it->second->out->buffer();
    if (problem) {
      b.append("offset,problem\n");
    } else {
      b.append("offset");
      for (int i = 0; i < decoder_.fieldCount(); ++i) {
        b.push_back(',');
        ColumnName(b, decoder_.field(i));
      }
      b.push_back('\n');
    }
  }
  LineOutput& target = *it->second->out;
  // A failed folder file must not grow without bound.
  if (it->second->file == nullptr) target.buffer().clear();
  return target;
}

void DecodeSession::packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) {
  const DecodeOutcome outcome = decoder_.decode(id, payload, length);
  const std::string_view kind = decoder_.kind();
  scratch_.clear();
  switch (outcome) {
    case DecodeOutcome::Decoded: {
      ++packets_;
      const int key = KindKey(id, payload, length);
      std::int32_t& index = countIndex_[static_cast<std::size_t>(key)];
      if (index < 0) {
        index = static_cast<std::int32_t>(counts_.size());
        counts_.push_back({std::string(kind), std::string(decoder_.name()), 0});
      }
      ++counts_[static_cast<std::size_t>(index)].count;
      if (!shown(kind)) return;
      if (options_.format == DecodeFormat::Csv && options_.csvDir.empty() &&
          !csvHeaderDone_[static_cast<std::size_t>(key)]) {
        csvHeaderDone_[static_cast<std::size_t>(key)] = true;
        std::string& b = out_.buffer();
        b.push_back('#');
        b.append(kind);
        b.append(",offset");
        for (int i = 0; i < decoder_.fieldCount(); ++i) {
          b.push_back(',');
          ColumnName(b, decoder_.field(i));
        }
        b.push_back('\n');
      }
      writeReport(offset);
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
  switch (options_.format) {
    case DecodeFormat::Text: {
      std::string& b = out_.buffer();
      RightAligned(b, offset, kOffsetWidth);
      b.append("  ");
      const std::size_t from = b.size();
      b.append("!");
      Pad(b, from, kKindWidth);
      const std::size_t nameFrom = b.size();
      b.append("problem");
      Pad(b, nameFrom, kNameWidth);
      b.push_back(' ');
      b.append(reason);
      b.push_back('\n');
      out_.lineDone();
      return;
    }
    case DecodeFormat::Csv: {
      LineOutput& target = csvTarget({}, true);
      std::string& b = target.buffer();
      if (options_.csvDir.empty()) b.append("problem,");
      AppendInteger(b, offset);
      b.push_back(',');
      CsvText(b, reason);
      b.push_back('\n');
      target.lineDone();
      return;
    }
    case DecodeFormat::JsonLines: {
      std::string& b = out_.buffer();
      b.append("{\"offset\":");
      AppendInteger(b, offset);
      b.append(",\"problem\":");
      JsonString(b, reason);
      b.append("}\n");
      out_.lineDone();
      return;
    }
  }
}

void DecodeSession::writeReport(std::int64_t offset) {
  const ReportDecoder& d = decoder_;
  switch (options_.format) {
    case DecodeFormat::Text: {
      std::string& b = out_.buffer();
      RightAligned(b, offset, kOffsetWidth);
      b.append("  ");
      std::size_t from = b.size();
      b.append(d.kind());
      Pad(b, from, kKindWidth);
      from = b.size();
      b.append(d.name());
      Pad(b, from, kNameWidth);
      for (int i = 0; i < d.fieldCount(); ++i) {
        const DecodedField& f = d.field(i);
        b.push_back(' ');
        b.append(f.name);
        b.push_back('=');
        if (f.type == FieldType::Text) {
          b.push_back('"');
          b.append(d.text(f));
          b.push_back('"');
        } else {
          Value(b, d, f);
        }
        if (*f.unit != '\0') {
          b.push_back(' ');
          b.append(f.unit);
        }
        if (i + 1 < d.fieldCount()) b.push_back(' ');
      }
      b.push_back('\n');
      out_.lineDone();
      return;
    }
    case DecodeFormat::Csv: {
      LineOutput& target = csvTarget(d.kind(), false);
      std::string& b = target.buffer();
      if (options_.csvDir.empty()) {
        b.append(d.kind());
        b.push_back(',');
      }
      AppendInteger(b, offset);
      for (int i = 0; i < d.fieldCount(); ++i) {
        const DecodedField& f = d.field(i);
        b.push_back(',');
        if (f.type == FieldType::Text) {
          CsvText(b, d.text(f));
        } else {
          Value(b, d, f);
        }
      }
      b.push_back('\n');
      target.lineDone();
      return;
    }
    case DecodeFormat::JsonLines: {
      std::string& b = out_.buffer();
      b.append("{\"offset\":");
      AppendInteger(b, offset);
      b.append(",\"kind\":\"");
      b.append(d.kind());
      b.append("\",\"report\":");
      JsonString(b, d.name());
      b.append(",\"fields\":{");
      bool anyUnit = false;
      for (int i = 0; i < d.fieldCount(); ++i) {
        const DecodedField& f = d.field(i);
        if (i > 0) b.push_back(',');
        b.push_back('"');
        b.append(f.name);
        b.append("\":");
        if (f.type == FieldType::Text) {
          JsonString(b, d.text(f));
        } else if (!Finite(f)) {
          b.append("null");
        } else {
          Value(b, d, f);
        }
        anyUnit = anyUnit || *f.unit != '\0';
      }
      b.push_back('}');
      if (anyUnit) {
        b.append(",\"units\":{");
        bool first = true;
        for (int i = 0; i < d.fieldCount(); ++i) {
          const DecodedField& f = d.field(i);
          if (*f.unit == '\0') continue;
          if (!first) b.push_back(',');
          first = false;
          b.push_back('"');
          b.append(f.name);
          b.append("\":\"");
          b.append(f.unit);
          b.push_back('"');
        }
        b.push_back('}');
      }
      b.append("}\n");
      out_.lineDone();
      return;
    }
  }
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
