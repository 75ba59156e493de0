#include "reports/version_layouts.h"

#include <algorithm>
#include <charconv>

#include "link/field_codec.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using namespace link;
using enum FieldType;

namespace {

VersionStamp StampAt(const std::uint8_t* p) {
  return {p[0], p[1], p[2], p[3], p[4]};
}

// "1.02" and "3/4/2007", as the Product Info window shows them.
void DescribeStamp(FieldSink& o, std::string_view version, std::string_view date, const VersionStamp& s) {
  char scratch[32];
  char* const end = scratch + sizeof scratch;
  char* p = scratch;
  p = std::to_chars(p, end, s.major).ptr;
  *p++ = '.';
  if (s.minor < 10 && s.minor >= 0) *p++ = '0';
  p = std::to_chars(p, end, s.minor).ptr;
  o.text(version, std::string_view(scratch, static_cast<std::size_t>(p - scratch)));
  p = scratch;
  p = std::to_chars(p, end, s.month).ptr;
  *p++ = '/';
  p = std::to_chars(p, end, s.day).ptr;
  *p++ = '/';
  p = std::to_chars(p, end, s.yearSince1900 + 1900).ptr;
  o.text(date, std::string_view(scratch, static_cast<std::size_t>(p - scratch)));
}

}  // namespace

QString VersionStamp::versionText() const { return QString::asprintf("%d.%02d", major, minor); }

QString VersionStamp::dateText() const {
  return QString::asprintf("%d/%d/%d", month, day, yearSince1900 + 1900);
}

QString SoftwareVersion::fullVersionText() const {
  return QString::asprintf("%d.%02d.%02d", application.major, application.minor, build);
}

QString SoftwareVersion::buildTimeText() const {
  return QString::asprintf("%d:%02d:%02d", hour, minute, second);
}

std::optional<SoftwareVersion> DecodeSoftwareVersion(const std::uint8_t* payload, int length) {
  if (payload == nullptr ||
      (length != SoftwareVersion::kShortLength && length != SoftwareVersion::kLongLength)) {
    return std::nullopt;
  }
  SoftwareVersion r;
  r.application = StampAt(payload);
  r.signalProcessor = StampAt(payload + 5);
  if (length == SoftwareVersion::kLongLength) {
    r.longForm = true;
    r.build = payload[17];
    detail::GetBytes(payload + 20, r.hour, r.minute, r.second);
  }
  return r;
}

std::optional<Health> DecodeHealth(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, Health::kLength)) return std::nullopt;
  return Health{payload[0]};
}

QString HealthStatusText(int code) {
  switch (code) {
    case 0: return QStringLiteral("Doing Fixes");
    case 1: return QStringLiteral("Don't have GPS time");
    case 2: return QStringLiteral("Need initialization");
    case 3: return QStringLiteral("PDOP too high");
    case 8: return QStringLiteral("No usable satellites");
    case 9: return QStringLiteral("Only 1 usable SV");
    case 10: return QStringLiteral("Only 2 usable SVs");
    case 11: return QStringLiteral("Only 3 usable SVs");
    case 12: return QStringLiteral("Choosen SV is unusable");
    default: return QStringLiteral("Unknown status (code %1)").arg(code);
  }
}

std::optional<SetTimeReply> DecodeSetTimeReply(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, SetTimeReply::kLength)) return std::nullopt;
  return SetTimeReply{payload[0] == 'Y'};
}

std::optional<SegmentStatus> DecodeSegmentStatus(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, SegmentStatus::kLength)) return std::nullopt;
  return SegmentStatus{GetWord(payload + 1)};
}

QString FatalMessage::label() const {
  return exception ? QStringLiteral("Application Fatal Exception:")
                   : QStringLiteral("Application Fatal Error:");
}

std::optional<FatalMessage> DecodeFatalMessage(const std::uint8_t* payload, int length) {
  if (payload == nullptr || length < 1) return std::nullopt;
  if (payload[0] != FatalMessage::kError && payload[0] != FatalMessage::kException) {
    return std::nullopt;
  }
  FatalMessage r;
  r.exception = payload[0] == FatalMessage::kException;
  r.text = QByteArray(reinterpret_cast<const char*>(payload + 1), length - 1);
  return r;
}

QString ManufacturingParameters::buildDateText() const {
  const char* century = year2 < 80 ? "20" : "19";
  return QString::asprintf("%d/%d/%s%02d", month, day, century, year2);
}

std::optional<ManufacturingParameters> DecodeManufacturingParameters(const std::uint8_t* payload,
                                                                     int length) {
  if (!detail::HasExactLength(payload, length, ManufacturingParameters::kLength)) {
    return std::nullopt;
  }
  ManufacturingParameters r;
  r.serialPrefix = GetWord(payload + 1);
  r.serialNumber = static_cast<std::int32_t>(GetLong(payload + 3));
  detail::GetBytes(payload + 7, r.year2, r.month, r.day, r.hour);
  r.oscillatorOffset = GetSingle(payload + 11);
  r.testCode = GetWord(payload + 15);
  return r;
}

int ProductionParameters::receiverType() const {
  return ReceiverTypeForProduction(machineId, premiumOptions);
}

std::optional<ProductionParameters> DecodeProductionParameters(const std::uint8_t* payload,
                                                               int length) {
  if (!detail::HasExactLength(payload, length, ProductionParameters::kLength)) {
    return std::nullopt;
  }
  ProductionParameters r;
  detail::GetBytes(payload + 1, r.optionsPrefix, r.numberExtension);
  r.caseSerialPrefix = GetWord(payload + 3);
  r.caseSerialNumber = static_cast<std::int32_t>(GetLong(payload + 5));
  r.productionNumber = static_cast<std::int32_t>(GetLong(payload + 9));
  r.premiumOptions = GetWord(payload + 13);
  r.machineId = GetWord(payload + 15);
  return r;
}

int ReceiverTypeForProduction(int machineId, int premiumOptions) {
  if (machineId == 98) return 0;
  if (machineId == 91) return 5;
  switch (premiumOptions) {
    case 0: return 1;
    case 8: return 2;
    case 4: return 3;
    case 2: return 4;
    default: return 0;
  }
}

void DescribeFields(const SoftwareVersion& v, FieldSink& o) {
  DescribeStamp(o, "applicationVersion", "applicationDate", v.application);
  DescribeStamp(o, "signalProcessorVersion", "signalProcessorDate", v.signalProcessor);
  o.rows({{Integer, "longForm", v.longForm ? 1 : 0}, {Integer, "build", v.build},
          {Integer, "buildHour", v.hour, "h"}, {Integer, "buildMinute", v.minute, "min"},
          {Integer, "buildSecond", v.second, "s"}});
}

void DescribeFields(const Health& v, FieldSink& o) {
  o.integer("status", v.status);
}

void DescribeFields(const SetTimeReply& v, FieldSink& o) {
  o.integer("accepted", v.accepted ? 1 : 0);
}

void DescribeFields(const SegmentStatus& v, FieldSink& o) {
  o.integer("invalidSegments", v.bits);
}

void DescribeFields(const ManufacturingParameters& v, FieldSink& o) {
  o.rows({{Integer, "serialPrefix", v.serialPrefix}, {Integer, "serialNumber", v.serialNumber},
          {Integer, "year", v.year2}, {Integer, "month", v.month}, {Integer, "day", v.day},
          {Integer, "hour", v.hour, "h"}, {Single, "oscillatorOffset", v.oscillatorOffset, "ppb"},
          {Integer, "testCode", v.testCode}});
}

void DescribeFields(const ProductionParameters& v, FieldSink& o) {
  o.rows({{Integer, "optionsPrefix", v.optionsPrefix},
          {Integer, "numberExtension", v.numberExtension},
          {Integer, "caseSerialPrefix", v.caseSerialPrefix},
          {Integer, "caseSerialNumber", v.caseSerialNumber},
          {Integer, "productionNumber", v.productionNumber},
          {Integer, "premiumOptions", v.premiumOptions}, {Integer, "machineId", v.machineId}});
}

bool DescribeMachineCode(const std::uint8_t* payload, int length, FieldSink* sink) {
  if (sink == nullptr) return true;
  static constexpr char kDigits[] = "0123456789ABCDEF";
  // Two digits and a space per byte of the longest payload a packet carries.
  char text[3 * 512];
  const int count = std::clamp(length, 0, 512);
  char* p = text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) *p++ = ' ';
    *p++ = kDigits[payload[i] >> 4];
    *p++ = kDigits[payload[i] & 0xF];
  }
  sink->text("bytes", std::string_view(text, static_cast<std::size_t>(p - text)));
  return true;
}

void DescribeFields(const FatalMessage& v, FieldSink& o) {
  o.text("message", std::string_view(v.text.constData(), static_cast<std::size_t>(v.text.size())));
}

}  // namespace halvix::reports
