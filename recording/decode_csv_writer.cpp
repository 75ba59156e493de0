#include "recording/decode_csv_writer.h"

namespace halvix::recording {

void CsvReportWriter::header(LineWriter& out, const ReportDecoder& d) const {
  if (oneStream_) {
    out.put('#');
    out.put(d.kind());
    out.put(',');
  }
  out.put("offset");
  for (int i = 0; i < d.fieldCount(); ++i) {
    const DecodedField& f = d.field(i);
    out.put(',');
    out.put(f.name);
    if (!f.unit.empty()) {
      out.put(" (");
      out.put(f.unit);
      out.put(')');
    }
  }
  out.put('\n');
}

void CsvReportWriter::report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t) {
  if (oneStream_) {
    out.put(d.kind());
    out.put(',');
  }
  out.integer(offset);
  for (int i = 0; i < d.fieldCount(); ++i) {
    const DecodedField& f = d.field(i);
    out.put(',');
    if (f.type == FieldType::Text) {
      out.csv(d.text(f));
    } else {
      WriteValue(out, d, f);
    }
  }
  out.put('\n');
}

void CsvReportWriter::problem(LineWriter& out, std::int64_t offset, std::string_view reason) {
  if (oneStream_) out.put("problem,");
  out.integer(offset);
  out.put(',');
  out.csv(reason);
  out.put('\n');
}

}  // namespace halvix::recording
