#include "recording/decode_json_writer.h"

#include <cmath>

namespace halvix::recording {

void JsonLinesReportWriter::report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t) {
  out.put("{\"offset\":");
  out.integer(offset);
  out.put(",\"kind\":\"");
  out.put(d.kind());
  out.put("\",\"report\":");
  out.json(d.name());
  out.put(",\"fields\":{");
  bool anyUnit = false;
  for (int i = 0; i < d.fieldCount(); ++i) {
    const DecodedField& f = d.field(i);
    if (i > 0) out.put(',');
    out.put('"');
    out.put(f.name);
    out.put("\":");
    const bool number = f.type == FieldType::Single || f.type == FieldType::Double;
    if (f.type == FieldType::Text) {
      out.json(d.text(f));
    } else if (number && !std::isfinite(f.number)) {
      out.put("null");
    } else {
      WriteValue(out, d, f);
    }
    anyUnit = anyUnit || !f.unit.empty();
  }
  out.put('}');
  if (anyUnit) {
    out.put(",\"units\":{");
    bool first = true;
    for (int i = 0; i < d.fieldCount(); ++i) {
      const DecodedField& f = d.field(i);
      if (f.unit.empty()) continue;
      if (!first) out.put(',');
      first = false;
      out.put('"');
      out.put(f.name);
      out.put("\":\"");
      out.put(f.unit);
      out.put('"');
    }
    out.put('}');
  }
  out.put("}\n");
}

void JsonLinesReportWriter::problem(LineWriter& out, std::int64_t offset, std::string_view reason) {
  out.put("{\"offset\":");
  out.integer(offset);
  out.put(",\"problem\":");
  out.json(reason);
  out.put("}\n");
}

}  // namespace halvix::recording
