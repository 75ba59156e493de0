// Headless report decoding: a packet becomes its report kind ("8F-AB"), its
// name and a list of named fields with units, through the registry of report
// kinds: the same routing and layouts the windows use. Allocates nothing per
// packet; the result is valid until the next decode.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "reports/field_sink.h"

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

class ReportDecoder : private reports::FieldSink {
 public:
  static constexpr int kMaxFields = 40;

  ReportDecoder();

  // Decodes one packet, developer-mode kinds included. On anything but
  // Decoded, kind() and name() still say what the routing took it for
  // ("8F-AB" of a wrong length).
  DecodeOutcome decode(int id, const std::uint8_t* payload, int length);

  std::string_view kind() const { return kind_; }
  std::string_view name() const { return name_; }
  // The registry row of the kind the routing chose; -1 for none.
  int row() const { return row_; }
  int fieldCount() const { return count_; }
  const DecodedField& field(int i) const { return fields_[static_cast<std::size_t>(i)]; }
  std::string_view text(const DecodedField& f) const {
    return std::string_view(texts_).substr(f.textStart, f.textLength);
  }

 private:
  void integer(std::string_view name, std::int64_t value, std::string_view unit) override {
    next(name, unit, FieldType::Integer).integer = value;
  }
  void single(std::string_view name, double value, std::string_view unit) override {
    next(name, unit, FieldType::Single).number = value;
  }
  void number(std::string_view name, double value, std::string_view unit) override {
    next(name, unit, FieldType::Double).number = value;
  }
  void text(std::string_view name, std::string_view value) override;

  DecodedField& next(std::string_view name, std::string_view unit, FieldType type) {
    // Every layout has fewer fields than the table holds; the last slot is reused rather than overrun.
    DecodedField& f = fields_[static_cast<std::size_t>(count_ < kMaxFields ? count_++ : kMaxFields - 1)];
    f.name = name;
    f.unit = unit;
    f.type = type;
    return f;
  }

  int row_ = -1;
  char kindBuffer_[8] = {};
  std::string_view kind_;
  std::string_view name_;
  int count_ = 0;
  std::array<DecodedField, kMaxFields> fields_{};
  std::string texts_;
};

}  // namespace halvix::tools
