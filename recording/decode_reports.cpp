#include "recording/decode_reports.h"

#include "reports/report_registry.h"

namespace halvix::recording {

DecodeOutcome ReportDecoder::decode(int id, const std::uint8_t* payload, int length) {
  static constexpr std::uint8_t kNone[1] = {0};
  if (payload == nullptr || length < 0) {
    payload = kNone;
    length = 0;
  }
  decoded_ = false;
  fields_.clear();
  name_ = {};
  const link::RouteTable& routes = reports::ReportRoutes();
  row_ = routes.find(id, payload, length);
  if (row_ == link::RouteTable::kNoRow) {
    kind_ = reports::PacketKey(id, payload, length, kindBuffer_);
    return routes.subCoded(id) ? DecodeOutcome::UnknownSubCode : DecodeOutcome::UnknownId;
  }
  const reports::ReportKindRow& row = reports::ReportKinds()[static_cast<std::size_t>(row_)];
  kind_ = row.key();
  name_ = row.name;
  decoded_ = row.decode(payload, length, &fields_);
  return decoded_ ? DecodeOutcome::Decoded : DecodeOutcome::WrongLength;
}

}  // namespace halvix::recording
