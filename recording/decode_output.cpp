#include "recording/decode_output.h"

#include <charconv>
#include <cstring>

#include "reports/report_registry.h"
#include "recording/decode_csv_writer.h"
#include "recording/decode_json_writer.h"
#include "recording/decode_text_writer.h"

namespace halvix::recording {

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

LineWriter LineOutput::line() {
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
  char* begin = data_.get() + size_;
  return LineWriter(begin, begin + kMaxLine);
}

void LineOutput::done(const LineWriter& line) {
  if (line.overflowed()) ++overflowed_;
  size_ = static_cast<std::size_t>(line.position() - data_.get());
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
  switch (options_.format) {
    case DecodeFormat::Text: writer_ = std::make_unique<TextReportWriter>(); break;
    case DecodeFormat::Csv: writer_ = std::make_unique<CsvReportWriter>(options_.csvDir.empty()); break;
    case DecodeFormat::JsonLines: writer_ = std::make_unique<JsonLinesReportWriter>(); break;
  }
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
    LineOutput& out = *it->second->out;
    LineWriter w = out.line();
    if (problem) {
      CsvReportWriter::problemHeader(w);
    } else {
      static_cast<CsvReportWriter&>(*writer_).header(w, decoder_);
    }
    out.done(w);
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
      }
      ++counts_[static_cast<std::size_t>(index)].count;
      if (!shown(kind)) return;
      if (options_.format == DecodeFormat::Csv && options_.csvDir.empty() &&
          !csvHeaderDone_[static_cast<std::size_t>(key)]) {
        csvHeaderDone_[static_cast<std::size_t>(key)] = true;
        LineWriter w = out_.line();
        static_cast<CsvReportWriter&>(*writer_).header(w, decoder_);
        out_.done(w);
      }
      LineOutput& target = options_.format == DecodeFormat::Csv ? csvTarget(kind, false) : out_;
      LineWriter w = target.line();
      writer_->report(w, offset, decoder_, index);
      target.done(w);
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
  LineWriter w = target.line();
  writer_->problem(w, offset, reason);
  target.done(w);
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

}  // namespace halvix::recording
