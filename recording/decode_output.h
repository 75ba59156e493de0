// The decode tool's work between bytes and lines: frames go through the
// report decoder and come out through the chosen form's writer (text, CSV or
// JSON lines), each packet a line with its byte offset, kind, name and fields
// with units; every flaw is a line too. Counts per report and per problem are
// kept for the summary.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recording/decode_frames.h"
#include "recording/decode_reports.h"
#include "recording/line_writer.h"
#include "recording/report_writer.h"

namespace halvix::recording {

enum class DecodeFormat { Text, Csv, JsonLines };

// Buffered output to a file, or kept in memory when there is none (tests).
// Lines are written straight into the buffer: line() gives a writer bounded
// by room for one line, done() takes what it wrote.
class LineOutput {
 public:
  // No line of any format is longer (40 fields, or a 511-byte text escaped).
  static constexpr std::size_t kMaxLine = 32 * 1024;

  explicit LineOutput(std::FILE* file = nullptr);
  ~LineOutput() { flush(); }
  LineOutput(const LineOutput&) = delete;
  LineOutput& operator=(const LineOutput&) = delete;

  LineWriter line();
  void done(const LineWriter& line);
  void append(std::string_view text) {
    LineWriter w = line();
    w.put(text);
    done(w);
  }
  // Lines cut short because they did not fit (none is expected).
  std::int64_t overflowedLines() const { return overflowed_; }
  std::string_view text() const { return {data_.get(), size_}; }
  // Drops what is buffered without writing it.
  void discard() { size_ = 0; }
  // False when a write failed.
  bool flush();
  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kFlushAt = 256 * 1024;
  std::FILE* file_;
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::int64_t overflowed_ = 0;
  bool failed_ = false;
};

struct DecodeOptions {
  DecodeFormat format = DecodeFormat::Text;
  // Kinds to show ("41", "8F-AC"); an id alone ("8F") takes all its kinds.
  // Empty shows every kind. Problems are always shown.
  std::vector<std::string> only;
  // CSV into one file per kind (and problems.csv) in this folder.
  std::string csvDir;
};

class DecodeSession final : public FrameReader {
 public:
  // Lines go to out; with options.csvDir set, CSV goes to files there instead.
  DecodeSession(const DecodeOptions& options, LineOutput& out);
  ~DecodeSession() override;

  // At the stream's end, after the last feed().
  void finish();

  void packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) override;
  void problem(std::int64_t offset, FrameFlaw flaw, std::string_view reason) override;

  std::int64_t packets() const { return packets_; }
  // A file of the CSV folder could not be created or written.
  bool outputFailed() const;
  // "Primary Timing (8F-AB): 3600" lines, then the problem counts.
  std::string summary() const;

 private:
  struct KindFile;
  bool shown(std::string_view kind) const;
  void writeProblem(std::int64_t offset, std::string_view reason);
  LineOutput& csvTarget(std::string_view kind, bool problem);

  DecodeOptions options_;
  LineOutput& out_;
  ReportDecoder decoder_;
  std::unique_ptr<ReportWriter> writer_;
  std::int64_t packets_ = 0;
  std::string scratch_;
  // Report counts by kind, in first-seen order.
  struct Count {
    std::string kind;
    std::string name;
    std::int64_t count = 0;
  };
  std::vector<Count> counts_;
  std::vector<std::int32_t> countIndex_;  // by registry row, -1 unseen
  std::map<std::string, std::int64_t> problemCounts_;
  std::vector<bool> csvHeaderDone_;  // single-stream CSV: header written per kind
  std::map<std::string, std::unique_ptr<KindFile>, std::less<>> files_;
  bool filesFailed_ = false;
};

// Appends a number as the formats write it: the shortest text that reads
// back the same (a single as a float), or nan/inf.
void AppendInteger(std::string& out, std::int64_t value);
void AppendNumber(std::string& out, double value, bool single);

}  // namespace halvix::recording
