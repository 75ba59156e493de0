#include "reports/position_layouts.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "link/field_codec.h"
#include "reports/formatters.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using link::GetDouble;
using link::GetSignedWord;
using link::GetSingle;
using link::GetWord;

namespace {

// Narrowing a double the receiver sent to single precision: values beyond the
// single range become infinities instead of undefined conversions.
float ToSingle(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// The four values a position or velocity fix starts with, as singles or doubles.
std::array<double, 4> FourSingles(const std::uint8_t* p) {
  return {GetSingle(p), GetSingle(p + 4), GetSingle(p + 8), GetSingle(p + 12)};
}
std::array<double, 4> FourDoubles(const std::uint8_t* p) {
  return {GetDouble(p), GetDouble(p + 8), GetDouble(p + 16), GetDouble(p + 24)};
}

}  // namespace

std::optional<GpsTime> DecodeGpsTime(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, GpsTime::kLength)) return std::nullopt;
  GpsTime r;
  r.timeOfWeek = GetSingle(payload);
  r.week = GetWord(payload + 4);
  r.utcOffset = GetSingle(payload + 6);
  return r;
}

double GpsTime::gpsSeconds() const { return week * kSecondsPerWeek + timeOfWeek; }

float GpsTime::wholeUtcOffset() const { return ToSingle(std::trunc(utcOffset)); }

std::optional<XyzPosition> DecodeXyzPosition(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, XyzPosition::kLength)) return std::nullopt;
  XyzPosition r;
  r.x = GetSingle(payload);
  r.y = GetSingle(payload + 4);
  r.z = GetSingle(payload + 8);
  return r;
}

std::optional<XyzVelocity> DecodeXyzVelocity(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, XyzVelocity::kLength)) return std::nullopt;
  const auto [x, y, z, biasRate] = FourSingles(payload);
  return XyzVelocity{x, y, z, biasRate};
}

std::optional<LlaPosition> DecodeLlaPosition(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, LlaPosition::kLength)) return std::nullopt;
  const auto [latitude, longitude, altitude, clockBias] = FourSingles(payload);
  return LlaPosition{latitude, longitude, altitude, clockBias};
}

std::optional<ReferenceAltitude> DecodeReferenceAltitude(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, ReferenceAltitude::kLength)) return std::nullopt;
  ReferenceAltitude r;
  r.altitude = GetSingle(payload);
  return r;
}

std::optional<EnuVelocity> DecodeEnuVelocity(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, EnuVelocity::kLength)) return std::nullopt;
  const auto [east, north, up, biasRate] = FourSingles(payload);
  return EnuVelocity{east, north, up, biasRate};
}

std::optional<PreciseXyzPosition> DecodePreciseXyzPosition(const std::uint8_t* payload,
                                                           int length) {
  if (!detail::HasExactLength(payload, length, PreciseXyzPosition::kLength)) return std::nullopt;
  const auto [x, y, z, clockBias] = FourDoubles(payload);
  return PreciseXyzPosition{x, y, z, clockBias};
}

std::optional<PreciseLlaPosition> DecodePreciseLlaPosition(const std::uint8_t* payload,
                                                           int length) {
  if (!detail::HasExactLength(payload, length, PreciseLlaPosition::kLength)) return std::nullopt;
  const auto [latitude, longitude, altitude, clockBias] = FourDoubles(payload);
  return PreciseLlaPosition{latitude, longitude, altitude, clockBias};
}

std::optional<ComprehensiveTime> DecodeComprehensiveTime(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, ComprehensiveTime::kLength)) return std::nullopt;
  ComprehensiveTime r;
  r.eventCount = GetWord(payload + 1);
  r.timeOfWeek = GetDouble(payload + 3);
  r.day = payload[11];
  r.month = payload[12];
  r.year = GetWord(payload + 13);
  r.receiverMode = static_cast<std::int8_t>(payload[15]);
  r.utcOffset = GetSignedWord(payload + 16);
  r.oscillatorBias = GetDouble(payload + 18);
  r.oscillatorDrift = GetDouble(payload + 26);
  r.biasUncertainty = GetSingle(payload + 34);
  r.driftUncertainty = GetSingle(payload + 38);
  r.latitude = GetDouble(payload + 42);
  r.longitude = GetDouble(payload + 50);
  r.altitude = GetDouble(payload + 58);
  for (std::size_t i = 0; i < r.satellites.size(); ++i) {
    r.satellites[i] = static_cast<std::int8_t>(payload[66 + i]);
  }
  return r;
}

QString ComprehensiveTime::dateText() const { return FormatCalendarDate(month, day, year); }

QString ComprehensiveTime::utcOffsetText() const {
  return QString::number(std::abs(static_cast<int>(utcOffset)));
}

QString ComprehensiveTime::timeOfWeekText() const { return QString::asprintf("%.2f", timeOfWeek); }

QString ComprehensiveModeText(int mode) {
  return detail::TableText({"Horizontal (2D)", "Full Position (3D)", "Single Satellite (0D)",
                            "Automatic (2D/3D)", "DGPS reference", "Clock hold (2D)",
                            "Overdetermined clock"},
                           mode, "Invalid Mode");
}

ComprehensiveTimeTexts FormatComprehensiveTimes(double timeOfWeek, int utcOffset) {
  // The other scale is the time of week shifted by the offset, wrapped into the
  // week: past the end is the next week's start, not "<Bad time>", and a shift
  // that lands on -1 must not read as "<No time yet>".
  double shifted = timeOfWeek + utcOffset;
  if (timeOfWeek >= 0 && timeOfWeek < kSecondsPerWeek) {
    if (shifted >= kSecondsPerWeek) shifted -= kSecondsPerWeek;
    if (shifted < 0) shifted += kSecondsPerWeek;
  }
  ComprehensiveTimeTexts out;
  if (utcOffset < 0) {
    out.gpsTime = FormatWeekTime(ToSingle(timeOfWeek), false);
    out.utcTime = FormatWeekTime(ToSingle(shifted), false);
    out.hasUtc = true;
  } else if (utcOffset == 0) {
    out.gpsTime = FormatWeekTime(ToSingle(timeOfWeek), false);
  } else {
    out.gpsTime = FormatWeekTime(ToSingle(shifted), false);
    out.utcTime = FormatWeekTime(ToSingle(timeOfWeek), false);
    out.hasUtc = true;
  }
  return out;
}

ComprehensiveSatellite FormatComprehensiveSatellite(std::int8_t satellite) {
  ComprehensiveSatellite out;
  if (satellite == 0) return out;
  out.usedForFixes = satellite > 0;
  out.text = QString::number(std::abs(static_cast<int>(satellite)));
  return out;
}

void DescribeFields(const GpsTime& v, FieldSink& o) {
  o.single("timeOfWeek", v.timeOfWeek, "s");
  o.integer("week", v.week);
  o.single("utcOffset", v.utcOffset, "s");
}

void DescribeFields(const XyzPosition& v, FieldSink& o) {
  o.single("x", v.x, "m");
  o.single("y", v.y, "m");
  o.single("z", v.z, "m");
}

void DescribeFields(const XyzVelocity& v, FieldSink& o) {
  o.single("x", v.x, "m/s");
  o.single("y", v.y, "m/s");
  o.single("z", v.z, "m/s");
  o.single("biasRate", v.biasRate, "m/s");
}

void DescribeFields(const LlaPosition& v, FieldSink& o) {
  o.single("latitude", detail::Degrees(v.latitude), "deg");
  o.single("longitude", detail::Degrees(v.longitude), "deg");
  o.single("altitude", v.altitude, "m");
  o.single("clockBias", v.clockBias, "m");
}

void DescribeFields(const ReferenceAltitude& v, FieldSink& o) {
  o.single("altitude", v.altitude, "m");
}

void DescribeFields(const EnuVelocity& v, FieldSink& o) {
  o.single("east", v.east, "m/s");
  o.single("north", v.north, "m/s");
  o.single("up", v.up, "m/s");
  o.single("biasRate", v.biasRate, "m/s");
}

void DescribeFields(const PreciseXyzPosition& v, FieldSink& o) {
  o.number("x", v.x, "m");
  o.number("y", v.y, "m");
  o.number("z", v.z, "m");
  o.number("clockBias", v.clockBias, "m");
}

void DescribeFields(const PreciseLlaPosition& v, FieldSink& o) {
  o.number("latitude", detail::Degrees(v.latitude), "deg");
  o.number("longitude", detail::Degrees(v.longitude), "deg");
  o.number("altitude", v.altitude, "m");
  o.number("clockBias", v.clockBias, "m");
}

void DescribeFields(const ComprehensiveTime& v, FieldSink& o) {
  o.integer("eventCount", v.eventCount);
  o.number("timeOfWeek", v.timeOfWeek, "s");
  o.integer("day", v.day);
  o.integer("month", v.month);
  o.integer("year", v.year);
  o.integer("receiverMode", v.receiverMode);
  o.integer("utcOffset", v.utcOffset, "s");
  o.number("oscillatorBias", v.oscillatorBias, "m");
  o.number("oscillatorDrift", v.oscillatorDrift, "m/s");
  o.single("biasUncertainty", v.biasUncertainty, "m");
  o.single("driftUncertainty", v.driftUncertainty, "m/s");
  o.number("latitude", detail::Degrees(v.latitude), "deg");
  o.number("longitude", detail::Degrees(v.longitude), "deg");
  o.number("altitude", v.altitude, "m");
  for (std::size_t i = 0; i < v.satellites.size(); ++i) o.integer(detail::kChannelFieldNames[i], v.satellites[i]);
}

}  // namespace halvix::reports
