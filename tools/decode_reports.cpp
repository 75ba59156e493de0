#include "tools/decode_reports.h"

#include "reports/report_registry.h"

namespace halvix::tools {

ReportDecoder::ReportDecoder() { texts_.reserve(4096); }

DecodeOutcome ReportDecoder::decode(int id, const std::uint8_t* payload, int length) {
  static constexpr std::uint8_t kNone[1] = {0};
  if (payload == nullptr || length < 0) {
    payload = kNone;
    length = 0;
  }
  count_ = 0;
  texts_.clear();
  name_ = {};
  kind_ = reports::PacketKey(id, payload, length, kindBuffer_);
  const link::RouteTable& routes = reports::ReportRoutes();
  row_ = routes.find(id, payload, length);
  if (row_ == link::RouteTable::kNoRow) {
    return routes.subCoded(id) ? DecodeOutcome::UnknownSubCode : DecodeOutcome::UnknownId;
  }
  const reports::ReportKindRow& row = reports::ReportKinds()[static_cast<std::size_t>(row_)];
  name_ = row.name;
  if (row.decode(payload, length, this)) return DecodeOutcome::Decoded;
  count_ = 0;
  return DecodeOutcome::WrongLength;
}

void ReportDecoder::text(std::string_view name, std::string_view value) {
  const std::size_t start = texts_.size();
  texts_.append(value);
  DecodedField& f = next(name, "", FieldType::Text);
  f.textStart = static_cast<std::uint32_t>(start);
  f.textLength = static_cast<std::uint32_t>(value.size());
}

}  // namespace halvix::tools
