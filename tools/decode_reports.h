// Headless report decoding: a packet becomes its report kind ("8F-AB"), its
// name and a list of named fields with units, through the same pure layout
// functions and the same routing the windows use. Allocates nothing per
// packet; the result is valid until the next decode.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace halvix::link {
class ReportDispatcher;
}

namespace halvix::tools {

enum class FieldType : std::uint8_t {
  Integer,
  Single,  // a single on the wire: shortest text that reads back as that float
  Double,
  Text,
};

struct DecodedField {
  std::string_view name;
  std::string_view unit;  // empty for a count, code or flag
  FieldType type = FieldType::Integer;
  std::int64_t integer = 0;
  double number = 0;
  std::uint32_t textStart = 0;
  std::uint32_t textLength = 0;
};

enum class DecodeOutcome { Decoded, UnknownId, UnknownSubCode, WrongLength };

class ReportDecoder {
 public:
  static constexpr int kMaxFields = 40;

  ReportDecoder();
  ~ReportDecoder();
  ReportDecoder(const ReportDecoder&) = delete;
  ReportDecoder& operator=(const ReportDecoder&) = delete;

  // Decodes one packet. On anything but Decoded, kind() and name() still say
  // what the routing took it for ("8F-AB" of a wrong length).
  DecodeOutcome decode(int id, const std::uint8_t* payload, int length);

  std::string_view kind() const { return kind_; }
  std::string_view name() const { return name_; }
  int fieldCount() const { return count_; }
  const DecodedField& field(int i) const { return fields_[static_cast<std::size_t>(i)]; }
  std::string_view text(const DecodedField& f) const {
    return std::string_view(texts_).substr(f.textStart, f.textLength);
  }

  // Filled by the layout callbacks: begin() when the routing has chosen the
  // report, the fields, then finished() when its layout accepted the payload.
  void begin(const char* name);
  void finished() { decoded_ = true; }
  // Names and units are literals: their lengths are known where they are written.
  void integer(std::string_view name, std::int64_t value, std::string_view unit = {});
  void single(std::string_view name, double value, std::string_view unit = {});
  void number(std::string_view name, double value, std::string_view unit = {});
  void text(std::string_view name, std::string_view value);
  // A text field made of what was appended to textArena() since start.
  std::string& textArena() { return texts_; }
  void textFrom(std::string_view name, std::size_t start);

 private:
  DecodedField& next(std::string_view name, std::string_view unit, FieldType type);

  std::unique_ptr<link::ReportDispatcher> dispatcher_;
  bool decoded_ = false;
  bool routed_ = false;
  char kindBuffer_[8] = {};
  std::string_view kind_;
  std::string_view name_;
  int count_ = 0;
  std::array<DecodedField, kMaxFields> fields_{};
  std::string texts_;
};

// The report kind a packet is routed as, "41" or "8F-AB"; "4A-ALT" for the
// 9-byte 0x4A. Writes at most 7 characters into out and returns them.
std::string_view ReportKind(int id, const std::uint8_t* payload, int length, char (&out)[8]);

}  // namespace halvix::tools
