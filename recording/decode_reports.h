// Headless report decoding: a packet becomes its report kind ("8F-AB"), its
// name and a list of named fields with units, through the registry of report
// kinds: the same routing and layouts the windows use. Allocates nothing per
// packet; the result is valid until the next decode.
#pragma once

#include <QObject>
#include <cstdint>
#include <string>
#include <string_view>

#include "reports/field_sink.h"

namespace halvix::recording {

using FieldType = reports::FieldType;
using DecodedField = reports::DescribedField;

enum class DecodeOutcome { Decoded, UnknownId, UnknownSubCode, WrongLength };

class ReportDecoder {
 public:
  static constexpr int kMaxFields = reports::FieldSink::kMaxFields;

  // Decodes one packet, developer-mode kinds included. On anything but
  // Decoded, kind() and name() still say what the routing took it for
  // ("8F-AB" of a wrong length).
  DecodeOutcome decode(int id, const std::uint8_t* payload, int length);

  std::string_view kind() const { return kind_; }
  std::string_view name() const { return name_; }
  // The registry row of the kind the routing chose; -1 for none.
  int row() const { return row_; }
  int fieldCount() const { return decoded_ ? fields_.count() : 0; }
  const DecodedField& field(int i) const { return fields_.field(i); }
  std::string_view text(const DecodedField& f) const { return fields_.text(f); }

 private:
  int row_ = -1;
  bool decoded_ = false;
  char kindBuffer_[8] = {};
  std::string_view kind_;
  std::string_view name_;
  reports::FieldSink fields_;
};

}  // namespace halvix::recording
