#include "reports/report_registry.h"

#include <array>

#include "reports/config_layouts.h"
#include "reports/position_layouts.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"
#include "reports/version_layouts.h"

namespace halvix::reports {

namespace {

constexpr int kNone = link::RouteRule::kNoSubCode;
constexpr int kAny = link::RouteRule::kAnyLength;

template <auto Decode>
bool Described(const std::uint8_t* payload, int length, FieldSink* sink) {
  const auto value = Decode(payload, length);
  if (!value) return false;
  if (sink != nullptr) DescribeFields(*value, *sink);
  return true;
}

constexpr ReportKindRow Row(link::RouteRule route, std::string_view name,
                            bool (*decode)(const std::uint8_t*, int, FieldSink*)) {
  return {route, name, decode};
}

// 0x4A is told apart by its length, 0x8F and 0x5F by their first byte; the
// diagnostic 0x5F kinds are for developer mode only.
const std::array kRows{
    Row({0x8F, 0xAB, kAny, false, "8F-AB"}, "Primary Timing", &Described<DecodePrimaryTiming>),
    Row({0x8F, 0xAC, kAny, false, "8F-AC"}, "Supplemental Timing", &Described<DecodeSupplementalTiming>),
    Row({0x8F, 0xAD, kAny, false, "8F-AD"}, "Primary UTC Time", &Described<DecodePrimaryUtcTime>),
    Row({0x41, kNone, kAny, false, "41"}, "GPS Time", &Described<DecodeGpsTime>),
    Row({0x42, kNone, kAny, false, "42"}, "XYZ Position", &Described<DecodeXyzPosition>),
    Row({0x43, kNone, kAny, false, "43"}, "XYZ Velocity", &Described<DecodeXyzVelocity>),
    Row({0x4A, kNone, kAny, false, "4A"}, "LLA Position", &Described<DecodeLlaPosition>),
    Row({0x4A, kNone, ReferenceAltitude::kLength, false, "4A-ALT"}, "Reference Altitude", &Described<DecodeReferenceAltitude>),
    Row({0x56, kNone, kAny, false, "56"}, "ENU Velocity", &Described<DecodeEnuVelocity>),
    Row({0x83, kNone, kAny, false, "83"}, "Precise XYZ Position", &Described<DecodePreciseXyzPosition>),
    Row({0x84, kNone, kAny, false, "84"}, "Precise LLA Position", &Described<DecodePreciseLlaPosition>),
    Row({0x8F, 0x0B, kAny, false, "8F-0B"}, "Comprehensive Time", &Described<DecodeComprehensiveTime>),
    Row({0x5C, kNone, kAny, false, "5C"}, "Tracking Status", &Described<DecodeTrackingStatus>),
    Row({0x6D, kNone, kAny, false, "6D"}, "Satellite Selection", &Described<DecodeSatelliteSelection>),
    Row({0x5A, kNone, kAny, false, "5A"}, "Raw Measurement", &Described<DecodeRawMeasurement>),
    Row({0x5B, kNone, kAny, false, "5B"}, "Ephemeris Status", &Described<DecodeEphemerisStatus>),
    Row({0x40, kNone, kAny, false, "40"}, "Almanac Data", &Described<DecodeAlmanacData>),
    Row({0x49, kNone, kAny, false, "49"}, "Almanac Health", &Described<DecodeAlmanacHealth>),
    Row({0x45, kNone, kAny, false, "45"}, "Software Version", &Described<DecodeSoftwareVersion>),
    Row({0x46, kNone, kAny, false, "46"}, "Health", &Described<DecodeHealth>),
    Row({0x4B, kNone, kAny, false, "4B"}, "Machine Code/Status", &DescribeMachineCode),
    Row({0x4E, kNone, kAny, false, "4E"}, "Set Time Reply", &Described<DecodeSetTimeReply>),
    Row({0x5F, 0x11, kAny, false, "5F-11"}, "EEPROM Segment Status", &Described<DecodeSegmentStatus>),
    Row({0x5F, FatalMessage::kError, kAny, true, "5F-FF"}, "Application Fatal Error", &Described<DecodeFatalMessage>),
    Row({0x5F, FatalMessage::kException, kAny, true, "5F-FE"}, "Application Exception", &Described<DecodeFatalMessage>),
    Row({0x8F, 0x41, kAny, false, "8F-41"}, "Manufacturing Parameters", &Described<DecodeManufacturingParameters>),
    Row({0x8F, 0x42, kAny, false, "8F-42"}, "Production Parameters", &Described<DecodeProductionParameters>),
    Row({0x4F, kNone, kAny, false, "4F"}, "UTC Parameters", &Described<DecodeUtcParameters>),
    Row({0x55, kNone, kAny, false, "55"}, "I/O Options", &Described<DecodeIoOptions>),
    Row({0x7B, kNone, kAny, false, "7B"}, "NMEA Settings", &Described<DecodeNmeaSettings>),
    Row({0xBB, kNone, kAny, false, "BB"}, "Receiver Configuration", &Described<DecodeReceiverConfiguration>),
    Row({0xBC, kNone, kAny, false, "BC"}, "Serial Port Configuration", &Described<DecodeSerialPortReport>),
    Row({0x8F, 0x15, kAny, false, "8F-15"}, "Datum", &Described<DecodeDatumReport>),
    Row({0x8F, 0x4A, kAny, false, "8F-4A"}, "PPS Characteristics", &Described<DecodePpsCharacteristics>),
    Row({0x8F, 0x4B, kAny, false, "8F-4B"}, "Survey Limit", &Described<DecodeSurveyLimit>),
    Row({0x8F, 0x4D, kAny, false, "8F-4D"}, "Automatic Output Mask", &Described<DecodeAutomaticOutputMask>),
    Row({0x8F, 0x4E, kAny, false, "8F-4E"}, "PPS Output", &Described<DecodePpsOutput>),
    Row({0x8F, 0x4F, kAny, false, "8F-4F"}, "PPS Width", &Described<DecodePpsWidth>),
    Row({0x8F, 0xA5, kAny, false, "8F-A5"}, "Broadcast Mask", &Described<DecodeBroadcastMask>),
    Row({0x8F, 0xA9, kAny, false, "8F-A9"}, "Self-Survey Parameters", &Described<DecodeSelfSurvey>),
};

link::RouteTable BuildRoutes() {
  std::array<link::RouteRule, kRows.size()> rules{};
  for (std::size_t i = 0; i < kRows.size(); ++i) rules[i] = kRows[i].route;
  return link::RouteTable(rules);
}

void Hex2(char* out, int value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out[0] = kDigits[(value >> 4) & 0xF];
  out[1] = kDigits[value & 0xF];
}

}  // namespace

std::span<const ReportKindRow> ReportKinds() { return kRows; }

const link::RouteTable& ReportRoutes() {
  static const link::RouteTable routes = BuildRoutes();
  return routes;
}

const ReportKindRow* FindReportKind(int id, const std::uint8_t* payload, int length) {
  const int row = ReportRoutes().find(id, payload, length);
  return row == link::RouteTable::kNoRow ? nullptr : &kRows[static_cast<std::size_t>(row)];
}

const ReportKindRow* FindReportKind(std::string_view key) {
  const int row = ReportRoutes().rowOf(key);
  return row == link::RouteTable::kNoRow ? nullptr : &kRows[static_cast<std::size_t>(row)];
}

std::string_view PacketKey(int id, const std::uint8_t* payload, int length, char (&out)[8]) {
  if (const ReportKindRow* row = FindReportKind(id, payload, length)) {
    const std::size_t n = row->key().copy(out, sizeof out - 1);
    return std::string_view(out, n);
  }
  Hex2(out, id);
  if (ReportRoutes().subCoded(id) && payload != nullptr && length >= 1) {
    out[2] = '-';
    Hex2(out + 3, payload[0]);
    return std::string_view(out, 5);
  }
  return std::string_view(out, 2);
}

}  // namespace halvix::reports
