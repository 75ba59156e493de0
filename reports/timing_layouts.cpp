#include "reports/timing_layouts.h"

#include "link/field_codec.h"
#include "reports/formatters.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using link::GetDouble;
using link::GetLong;
using link::GetSignedWord;
using link::GetSingle;
using link::GetWord;

std::optional<PrimaryTiming> DecodePrimaryTiming(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, PrimaryTiming::kLength)) return std::nullopt;
  PrimaryTiming r;
  r.timeOfWeek = GetLong(payload + 1);
  r.week = GetWord(payload + 5);
  r.utcOffset = GetSignedWord(payload + 7);
  r.timingFlags = payload[9];
  r.seconds = payload[10];
  r.minutes = payload[11];
  r.hours = payload[12];
  r.day = payload[13];
  r.month = payload[14];
  r.year = GetWord(payload + 15);
  return r;
}

QString PrimaryTiming::timeScaleText() const {
  return isUtc() ? QStringLiteral("UTC") : QStringLiteral("GPS");
}

double PrimaryTiming::gpsSeconds() const {
  return static_cast<double>(timeOfWeek) + static_cast<double>(week) * kSecondsPerWeek;
}

QString PrimaryTiming::clockText() const { return FormatClockTime(hours, minutes, seconds); }

QString PrimaryTiming::dateText() const { return FormatCalendarDate(month, day, year); }

std::optional<SupplementalTiming> DecodeSupplementalTiming(const std::uint8_t* payload,
                                                           int length) {
  if (!detail::HasExactLength(payload, length, SupplementalTiming::kLength)) return std::nullopt;
  SupplementalTiming r;
  r.receiverMode = payload[1];
  r.surveyProgress = payload[3];
  r.minorAlarms = GetWord(payload + 10);
  r.statusCode = payload[12];
  r.ppsOffset = GetSingle(payload + 16);
  r.oscillatorOffset = GetSingle(payload + 20);
  r.latitude = GetDouble(payload + 36);
  r.longitude = GetDouble(payload + 44);
  r.altitude = GetDouble(payload + 52);
  r.quantizationError = GetSingle(payload + 60);
  r.ppsGenerated = payload[64] != 0;
  return r;
}

bool SupplementalTiming::alarmSet(int bit) const {
  return bit >= 0 && bit < 16 && ((minorAlarms >> bit) & 1) != 0;
}

double SupplementalTiming::latitudeDegrees() const { return RadiansToDegrees(latitude); }

double SupplementalTiming::longitudeDegrees() const { return RadiansToDegrees(longitude); }

QString SupplementalTiming::surveyText() const { return QString::asprintf("%d%%", surveyProgress); }

QString SupplementalModeText(int mode) {
  return detail::TableText({"Automatic (2D/3D)", "Single Satellite (Time)", " ", "Horizontal (2D)",
                            "Full Position (3D)", "DGPS Reference", "Clock Hold (2D)",
                            "Overdetermined Clock"},
                           mode, "Invalid Mode");
}

QString SupplementalStatusText(int status) {
  return detail::TableText({"Doing fixes", "Don't have GPS time", " ", "PDOP is too high", "", "",
                            "", "", "No Usable SVs", "Only 1 Usable SV", "Only 2 Usable SVs",
                            "Only 3 Usable SVs", "Chosen SV is unusable", "", "", "",
                            "TRAIM rejected fix"},
                           status, "Invalid Status");
}

QString FormatTimingOutput(double value) { return QString::asprintf("%.2f", value); }

QString FormatPositionFileLine(double latitudeDeg, double longitudeDeg, double altitude) {
  return QString::asprintf("%d %.5f %.5f %.1f", 0, latitudeDeg, longitudeDeg, altitude);
}

QString FormatPositionDownloadMessage(double latitudeDeg, double longitudeDeg, double altitude) {
  return QString::asprintf("Position successfully downloaded.\n\nLat: %.5f\nLon: %.5f\nAlt: %.1f",
                           latitudeDeg, longitudeDeg, altitude);
}

std::optional<PrimaryUtcTime> DecodePrimaryUtcTime(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, PrimaryUtcTime::kLength)) return std::nullopt;
  PrimaryUtcTime r;
  r.eventCount = GetWord(payload + 1);
  r.fraction = GetDouble(payload + 3);
  r.hours = payload[11];
  r.minutes = payload[12];
  r.seconds = payload[13];
  r.day = payload[14];
  r.month = payload[15];
  r.year = GetWord(payload + 16);
  r.receiverStatus = payload[18];
  r.flags = payload[19];
  return r;
}

QString PrimaryUtcTime::timeText() const {
  return QString::asprintf("%d:%02d:%012.9f", hours, minutes,
                           static_cast<double>(seconds) + fraction);
}

QString PrimaryUtcTime::dateText() const { return FormatCalendarDate(month, day, year); }

QString PrimaryUtcTime::timeScaleText() const {
  return utcAvailable() ? QStringLiteral("UTC Time") : QStringLiteral("GPS Time");
}

QString UtcReceiverStatusText(int status) {
  return detail::TableText({"Navigating", "Timing (1 SV)", "Approximate Time", "Need Time",
                            "Need Initialization", "PDOP Too High", "Satellite Unusable",
                            "No Usable SVs", "Only 1 Usable SV", "Only 2 Usable SVs",
                            "Only 3 Usable SVs", "Invalid Solution", "Differential Corr.",
                            "Overdetermined Fixes"},
                           status, "Invalid Status");
}

void DescribeFields(const PrimaryTiming& v, FieldSink& o) {
  o.integer("timeOfWeek", v.timeOfWeek, "s");
  o.integer("week", v.week);
  o.integer("utcOffset", v.utcOffset, "s");
  o.integer("timingFlags", v.timingFlags);
  o.integer("hours", v.hours, "h");
  o.integer("minutes", v.minutes, "min");
  o.integer("seconds", v.seconds, "s");
  o.integer("day", v.day);
  o.integer("month", v.month);
  o.integer("year", v.year);
}

void DescribeFields(const SupplementalTiming& v, FieldSink& o) {
  o.integer("receiverMode", v.receiverMode);
  o.integer("surveyProgress", v.surveyProgress, "%");
  o.integer("minorAlarms", v.minorAlarms);
  o.integer("statusCode", v.statusCode);
  o.single("ppsOffset", v.ppsOffset, "ns");
  o.single("oscillatorOffset", v.oscillatorOffset, "ppb");
  o.number("latitude", detail::Degrees(v.latitude), "deg");
  o.number("longitude", detail::Degrees(v.longitude), "deg");
  o.number("altitude", v.altitude, "m");
  o.single("quantizationError", v.quantizationError, "ns");
  o.integer("ppsGenerated", v.ppsGenerated ? 1 : 0);
}

void DescribeFields(const PrimaryUtcTime& v, FieldSink& o) {
  o.integer("eventCount", v.eventCount);
  o.number("fraction", v.fraction, "s");
  o.integer("hours", v.hours, "h");
  o.integer("minutes", v.minutes, "min");
  o.integer("seconds", v.seconds, "s");
  o.integer("day", v.day);
  o.integer("month", v.month);
  o.integer("year", v.year);
  o.integer("receiverStatus", v.receiverStatus);
  o.integer("flags", v.flags);
}

}  // namespace halvix::reports
