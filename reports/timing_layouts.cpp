#include "reports/timing_layouts.h"

#include "link/field_codec.h"
#include "reports/formatters.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using namespace link;
using enum FieldType;

std::optional<PrimaryTiming> DecodePrimaryTiming(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, PrimaryTiming::kLength)) return std::nullopt;
  PrimaryTiming r;
  r.timeOfWeek = GetLong(payload + 1);
  r.week = GetWord(payload + 5);
  r.utcOffset = GetSignedWord(payload + 7);
  detail::GetBytes(payload + 9, r.timingFlags, r.seconds, r.minutes, r.hours, r.day, r.month);
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
  detail::GetSingles(payload + 16, r.ppsOffset, r.oscillatorOffset);
  detail::GetDoubles(payload + 36, r.latitude, r.longitude, r.altitude);
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
  detail::GetBytes(payload + 11, r.hours, r.minutes, r.seconds, r.day, r.month);
  r.year = GetWord(payload + 16);
  detail::GetBytes(payload + 18, r.receiverStatus, r.flags);
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

namespace {

// The time of day and date both timing reports carry, in this order.
void DescribeClock(FieldSink& o, int hours, int minutes, int seconds, int day, int month,
                   int year) {
  o.rows({{Integer, "hours", hours, "h"}, {Integer, "minutes", minutes, "min"},
          {Integer, "seconds", seconds, "s"}, {Integer, "day", day}, {Integer, "month", month},
          {Integer, "year", year}});
}

}  // namespace

void DescribeFields(const PrimaryTiming& v, FieldSink& o) {
  o.rows({{Integer, "timeOfWeek", v.timeOfWeek, "s"}, {Integer, "week", v.week},
          {Integer, "utcOffset", v.utcOffset, "s"}, {Integer, "timingFlags", v.timingFlags}});
  DescribeClock(o, v.hours, v.minutes, v.seconds, v.day, v.month, v.year);
}

void DescribeFields(const SupplementalTiming& v, FieldSink& o) {
  o.rows({{Integer, "receiverMode", v.receiverMode},
          {Integer, "surveyProgress", v.surveyProgress, "%"},
          {Integer, "minorAlarms", v.minorAlarms}, {Integer, "statusCode", v.statusCode},
          {Single, "ppsOffset", v.ppsOffset, "ns"},
          {Single, "oscillatorOffset", v.oscillatorOffset, "ppb"}});
  detail::DescribeLla(o, Double, v.latitude, v.longitude, v.altitude);
  o.rows({{Single, "quantizationError", v.quantizationError, "ns"},
          {Integer, "ppsGenerated", v.ppsGenerated ? 1 : 0}});
}

void DescribeFields(const PrimaryUtcTime& v, FieldSink& o) {
  o.rows({{Integer, "eventCount", v.eventCount}, {Double, "fraction", v.fraction, "s"}});
  DescribeClock(o, v.hours, v.minutes, v.seconds, v.day, v.month, v.year);
  o.rows({{Integer, "receiverStatus", v.receiverStatus}, {Integer, "flags", v.flags}});
}

}  // namespace halvix::reports
