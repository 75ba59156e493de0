#include "recording/decode_text_writer.h"

namespace halvix::recording {

namespace {

// Columns: offset, kind, report name.
constexpr std::size_t kOffsetWidth = 10;
constexpr std::size_t kKindWidth = 7;
constexpr std::size_t kNameWidth = 26;

}  // namespace

// A kind's line is its offset, then fixed text and values in turn:
// "8F-AC  Supplemental Timing        receiverMode=", value, "  surveyProgress=",
// value, " %  minorAlarms=", ... The fixed pieces are rendered once per kind
// and kept while its layout gives the same fields (a count of satellites can
// change them).
struct TextReportWriter::Pieces {
  std::vector<const char*> names;
  std::vector<const char*> units;
  std::string text;                 // every piece in turn, then padding for block copies
  std::vector<std::uint32_t> ends;  // where each piece ends in text
};

TextReportWriter::TextReportWriter() = default;
TextReportWriter::~TextReportWriter() = default;

const TextReportWriter::Pieces& TextReportWriter::pieces(const ReportDecoder& d, std::int32_t kindIndex) {
  if (kindIndex < 0) kindIndex = 0;
  if (static_cast<std::size_t>(kindIndex) >= pieces_.size()) pieces_.resize(static_cast<std::size_t>(kindIndex) + 1);
  auto& slot = pieces_[static_cast<std::size_t>(kindIndex)];
  const auto n = static_cast<std::size_t>(d.fieldCount());
  if (slot != nullptr && slot->names.size() == n) {
    bool same = true;
    for (std::size_t i = 0; i < n && same; ++i) {
      const DecodedField& f = d.field(static_cast<int>(i));
      same = f.name.data() == slot->names[i] && f.unit.data() == slot->units[i];
    }
    if (same) return *slot;
  }
  if (slot == nullptr) slot = std::make_unique<Pieces>();
  Pieces& t = *slot;
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
  t.text.append(LineWriter::kPadding, '\0');
  return t;
}

void TextReportWriter::report(LineWriter& out, std::int64_t offset, const ReportDecoder& d, std::int32_t kindIndex) {
  out.rightAligned(offset, kOffsetWidth);
  const Pieces& t = pieces(d, kindIndex);
  const char* text = t.text.data();
  std::uint32_t from = 0;
  for (int i = 0; i < d.fieldCount(); ++i) {
    const std::uint32_t end = t.ends[static_cast<std::size_t>(i)];
    out.putPadded(text + from, end - from);
    from = end;
    WriteValue(out, d, d.field(i));
  }
  out.putPadded(text + from, t.ends.back() - from);
  out.put('\n');
}

void TextReportWriter::problem(LineWriter& out, std::int64_t offset, std::string_view reason) {
  out.rightAligned(offset, kOffsetWidth);
  out.put("  ");
  const char* from = out.position();
  out.put('!');
  out.padFrom(from, kKindWidth);
  from = out.position();
  out.put("problem");
  out.padFrom(from, kNameWidth);
  out.put(' ');
  out.put(reason);
  out.put('\n');
}

}  // namespace halvix::recording
