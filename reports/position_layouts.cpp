#include "reports/position_layouts.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "link/field_codec.h"
#include "reports/formatters.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using namespace link;
using enum FieldType;

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

// Either form of the LLA fix, read by FourSingles or FourDoubles.
template <class Fix>
std::optional<Fix> DecodeLlaFix(const std::uint8_t* payload, int length,
                                std::array<double, 4> (*read)(const std::uint8_t*)) {
  if (!detail::HasExactLength(payload, length, Fix::kLength)) return std::nullopt;
  const auto [latitude, longitude, altitude, clockBias] = read(payload);
  return Fix{{latitude, longitude, altitude, clockBias}};
}

// x, y, z and a fourth value of the same unit.
void DescribeXyzFix(FieldSink& o, FieldType type, double x, double y, double z,
                    std::string_view fourth, double value, std::string_view unit) {
  detail::DescribeXyz(o, type, x, y, z, unit);
  o.rows({{type, fourth, value, unit}});
}

void DescribeLlaFix(FieldSink& o, FieldType type, const LlaFix& v) {
  detail::DescribeLla(o, type, v.latitude, v.longitude, v.altitude);
  o.rows({{type, "clockBias", v.clockBias, "m"}});
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
  detail::GetSingles(payload, r.x, r.y, r.z);
  return r;
}

std::optional<XyzVelocity> DecodeXyzVelocity(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, XyzVelocity::kLength)) return std::nullopt;
  const auto [x, y, z, biasRate] = FourSingles(payload);
  return XyzVelocity{x, y, z, biasRate};
}

std::optional<LlaPosition> DecodeLlaPosition(const std::uint8_t* payload, int length) {
  return DecodeLlaFix<LlaPosition>(payload, length, FourSingles);
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
  return DecodeLlaFix<PreciseLlaPosition>(payload, length, FourDoubles);
}

std::optional<ComprehensiveTime> DecodeComprehensiveTime(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, ComprehensiveTime::kLength)) return std::nullopt;
  ComprehensiveTime r;
  r.eventCount = GetWord(payload + 1);
  r.timeOfWeek = GetDouble(payload + 3);
  detail::GetBytes(payload + 11, r.day, r.month);
  r.year = GetWord(payload + 13);
  r.receiverMode = static_cast<std::int8_t>(payload[15]);
  r.utcOffset = GetSignedWord(payload + 16);
  detail::GetDoubles(payload + 18, r.oscillatorBias, r.oscillatorDrift);
  detail::GetSingles(payload + 34, r.biasUncertainty, r.driftUncertainty);
  detail::GetDoubles(payload + 42, r.latitude, r.longitude, r.altitude);
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
  o.rows({{Single, "timeOfWeek", v.timeOfWeek, "s"}, {Integer, "week", v.week},
          {Single, "utcOffset", v.utcOffset, "s"}});
}

void DescribeFields(const XyzPosition& v, FieldSink& o) {
  detail::DescribeXyz(o, Single, v.x, v.y, v.z, "m");
}

void DescribeFields(const XyzVelocity& v, FieldSink& o) {
  DescribeXyzFix(o, Single, v.x, v.y, v.z, "biasRate", v.biasRate, "m/s");
}

void DescribeFields(const LlaPosition& v, FieldSink& o) { DescribeLlaFix(o, Single, v); }

void DescribeFields(const ReferenceAltitude& v, FieldSink& o) {
  o.single("altitude", v.altitude, "m");
}

void DescribeFields(const EnuVelocity& v, FieldSink& o) {
  o.rows({{Single, "east", v.east, "m/s"}, {Single, "north", v.north, "m/s"},
          {Single, "up", v.up, "m/s"}, {Single, "biasRate", v.biasRate, "m/s"}});
}

void DescribeFields(const PreciseXyzPosition& v, FieldSink& o) {
  DescribeXyzFix(o, Double, v.x, v.y, v.z, "clockBias", v.clockBias, "m");
}

void DescribeFields(const PreciseLlaPosition& v, FieldSink& o) { DescribeLlaFix(o, Double, v); }

void DescribeFields(const ComprehensiveTime& v, FieldSink& o) {
  o.rows({{Integer, "eventCount", v.eventCount}, {Double, "timeOfWeek", v.timeOfWeek, "s"},
          {Integer, "day", v.day}, {Integer, "month", v.month}, {Integer, "year", v.year},
          {Integer, "receiverMode", v.receiverMode}, {Integer, "utcOffset", v.utcOffset, "s"},
          {Double, "oscillatorBias", v.oscillatorBias, "m"},
          {Double, "oscillatorDrift", v.oscillatorDrift, "m/s"},
          {Single, "biasUncertainty", v.biasUncertainty, "m"},
          {Single, "driftUncertainty", v.driftUncertainty, "m/s"}});
  detail::DescribeLla(o, Double, v.latitude, v.longitude, v.altitude);
  for (std::size_t i = 0; i < v.satellites.size(); ++i) o.integer(detail::kChannelFieldNames[i], v.satellites[i]);
}

}  // namespace halvix::reports
