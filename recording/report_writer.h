// One output form of the decode tool: how a decoded report and a problem
// become a line. The session picks the form and hands each line a writer
// bounded by the buffer.
#pragma once

#include <cstdint>
#include <string_view>

#include "recording/decode_reports.h"
#include "recording/line_writer.h"

namespace halvix::recording {

class ReportWriter {
 public:
  virtual ~ReportWriter() = default;
  // kindIndex numbers the kinds in the order they were first seen.
  virtual void report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t kindIndex) = 0;
  virtual void problem(LineWriter& out, std::int64_t offset, std::string_view reason) = 0;
};

// A field's value as every form writes it, texts unquoted.
inline void WriteValue(LineWriter& out, const ReportDecoder& d, const DecodedField& f) {
  switch (f.type) {
    case FieldType::Integer: out.integer(f.integer); break;
    case FieldType::Single: out.number(f.number, true); break;
    case FieldType::Double: out.number(f.number, false); break;
    case FieldType::Text: out.put(d.text(f)); break;
  }
}

}  // namespace halvix::recording
