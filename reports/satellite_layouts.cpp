#include "reports/satellite_layouts.h"

#include <algorithm>
#include <charconv>

#include <cstdlib>

#include "link/field_codec.h"
#include "reports/formatters.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using namespace link;
using enum FieldType;

namespace {

// "%.2f", the format of most measurement and ephemeris panels.
QString TwoDecimals(double v) { return QString::asprintf("%.2f", v); }

}  // namespace

std::optional<TrackingStatus> DecodeTrackingStatus(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, TrackingStatus::kLength)) return std::nullopt;
  const int channel = payload[1] >> 3;
  if (channel >= kSatelliteRows) return std::nullopt;
  TrackingStatus r;
  r.satellite = payload[0];
  r.channel = channel;
  detail::GetBytes(payload + 2, r.acquisition, r.ephemeris);
  detail::GetSingles(payload + 4, r.signalLevel, r.lastMeasurement, r.elevation, r.azimuth);
  return r;
}

QString TrackingStatus::rowText() const {
  return QString::asprintf("%3d%4d%5d%4d", satellite, channel + 1, acquisition, ephemeris) +
         QString::asprintf("%8.1f%10.1f%6.1f%7.1f", signalLevel, lastMeasurement,
                           RadiansToDegrees(elevation), RadiansToDegrees(azimuth));
}

QString TrackingStatus::satelliteText() const { return QString::asprintf("%2d", satellite); }

QString TrackingStatus::signalText() const { return QString::asprintf("%5.1f", signalLevel); }

std::optional<SatelliteSelection> DecodeSatelliteSelection(const std::uint8_t* payload,
                                                           int length) {
  if (payload == nullptr || length < SatelliteSelection::kMinLength) return std::nullopt;
  SatelliteSelection r;
  r.mode = payload[0];
  detail::GetSingles(payload + 1, r.pdop, r.hdop, r.vdop, r.tdop);
  r.satelliteCount = std::min(length - SatelliteSelection::kMinLength, SatelliteSelection::kMaxSatellites);
  for (int k = 0; k < r.satelliteCount; ++k) {
    r.satellites[static_cast<std::size_t>(k)] =
        static_cast<std::int8_t>(payload[SatelliteSelection::kMinLength + k]);
  }
  return r;
}

SatelliteSelectionTable SatelliteSelection::table() const {
  SatelliteSelectionTable out{};
  for (std::size_t k = 0; k < out.size() && k < static_cast<std::size_t>(satelliteCount); ++k) {
    out[k] = satellites[k];
  }
  return out;
}

QString SatelliteSelection::listText() const {
  QString text;
  text.reserve(satelliteCount * 4);
  for (int k = 0; k < satelliteCount; ++k) {
    text += QString::asprintf("%4d", satellites[static_cast<std::size_t>(k)]);
  }
  return text;
}

QString FormatDop(double dop) { return QString::asprintf("%.1f", dop); }

SvColour SatelliteColour(int satellite, const SatelliteSelectionTable& selection) {
  if (satellite == 0) return SvColour::Window;
  for (const int entry : selection) {
    if (std::abs(static_cast<std::int64_t>(entry)) == satellite) {
      return entry < 0 ? SvColour::Yellow : SvColour::Green;
    }
  }
  return SvColour::Window;
}

std::optional<RawMeasurement> DecodeRawMeasurement(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, RawMeasurement::kLength)) return std::nullopt;
  RawMeasurement r;
  r.satellite = payload[0];
  detail::GetSingles(payload + 1, r.sampleLength, r.signalLevel, r.codePhase, r.doppler);
  r.time = GetDouble(payload + 17);
  return r;
}

QString RawMeasurement::sampleLengthText() const { return QString::asprintf("%2f", sampleLength); }
QString RawMeasurement::signalLevelText() const { return QString::asprintf("%.1f", signalLevel); }
QString RawMeasurement::codePhaseText() const { return QString::asprintf("%8f", codePhase); }
QString RawMeasurement::dopplerText() const { return TwoDecimals(doppler); }
QString RawMeasurement::timeText() const { return TwoDecimals(time); }

std::optional<EphemerisStatus> DecodeEphemerisStatus(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, EphemerisStatus::kLength)) return std::nullopt;
  EphemerisStatus r;
  r.satellite = payload[0];
  r.collectionTime = GetSingle(payload + 1);
  detail::GetBytes(payload + 5, r.health, r.iode);
  r.toe = GetSingle(payload + 7);
  r.fitFlag = payload[11];
  r.accuracy = GetSingle(payload + 12);
  return r;
}

std::optional<int> EphemerisStatus::comboIndex() const {
  if (satellite < 1 || satellite > 32) return std::nullopt;
  return satellite - 1;
}

QString EphemerisStatus::collectionTimeText() const { return TwoDecimals(collectionTime); }
QString EphemerisStatus::healthText() const { return QString::asprintf("%X", health); }
QString EphemerisStatus::iodeText() const { return QString::asprintf("%02X", iode); }
QString EphemerisStatus::toeText() const { return TwoDecimals(toe); }
QString EphemerisStatus::fitFlagText() const { return QString::asprintf("%X", fitFlag); }
QString EphemerisStatus::accuracyText() const { return TwoDecimals(accuracy); }

std::optional<AlmanacData> DecodeAlmanacData(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, AlmanacData::kLength)) return std::nullopt;
  AlmanacData r;
  r.satellite = payload[0];
  r.tZc = GetSingle(payload + 1);
  r.week = GetWord(payload + 5);
  detail::GetSingles(payload + 7, r.eccentricity, r.tOa, r.inclination, r.omegaDot, r.sqrtA,
                     r.omega0, r.omega, r.meanAnomaly);
  return r;
}

std::array<QString, 10> AlmanacData::panelTexts() const {
  return {QString::asprintf("%.0f", tZc),         QString::asprintf("%d", week),
          QString::asprintf("%8f", eccentricity), QString::asprintf("%.0f", tOa),
          QString::asprintf("%8f", inclination),  QString::asprintf("%8f", omegaDot),
          QString::asprintf("%8f", sqrtA),        QString::asprintf("%8f", omega0),
          QString::asprintf("%8f", omega),        QString::asprintf("%8f", meanAnomaly)};
}

std::optional<AlmanacHealth> DecodeAlmanacHealth(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, AlmanacHealth::kLength)) return std::nullopt;
  AlmanacHealth r;
  for (std::size_t i = 0; i < r.health.size(); ++i) r.health[i] = payload[i];
  return r;
}

QString AlmanacHealth::healthText(int satellite) const {
  if (satellite < 1 || satellite > static_cast<int>(health.size())) return {};
  return QString::asprintf("%X", health[static_cast<std::size_t>(satellite - 1)]);
}

void DescribeFields(const TrackingStatus& v, FieldSink& o) {
  o.rows({{Integer, "satellite", v.satellite}, {Integer, "channel", v.channel},
          {Integer, "acquisition", v.acquisition}, {Integer, "ephemeris", v.ephemeris},
          {Single, "signalLevel", v.signalLevel, "AMU"},
          {Single, "lastMeasurement", v.lastMeasurement, "s"},
          {Single, "elevation", detail::Degrees(v.elevation), "deg"},
          {Single, "azimuth", detail::Degrees(v.azimuth), "deg"}});
}

void DescribeFields(const SatelliteSelection& v, FieldSink& o) {
  o.rows({{Integer, "mode", v.mode}, {Single, "pdop", v.pdop}, {Single, "hdop", v.hdop},
          {Single, "vdop", v.vdop}, {Single, "tdop", v.tdop}});
  // Space-separated, negative for a satellite not used: one column in CSV.
  // Each entry is at most "-128" and a space.
  char text[SatelliteSelection::kMaxSatellites * 5];
  char* p = text;
  const int count = std::clamp(v.satelliteCount, 0, SatelliteSelection::kMaxSatellites);
  for (int k = 0; k < count; ++k) {
    if (k > 0) *p++ = ' ';
    p = std::to_chars(p, text + sizeof text, static_cast<int>(v.satellites[static_cast<std::size_t>(k)])).ptr;
  }
  o.text("satellites", std::string_view(text, static_cast<std::size_t>(p - text)));
}

void DescribeFields(const RawMeasurement& v, FieldSink& o) {
  o.rows({{Integer, "satellite", v.satellite}, {Single, "sampleLength", v.sampleLength, "ms"},
          {Single, "signalLevel", v.signalLevel, "AMU"},
          {Single, "codePhase", v.codePhase, "1/16 chip"}, {Single, "doppler", v.doppler, "Hz"},
          {Double, "time", v.time, "s"}});
}

void DescribeFields(const EphemerisStatus& v, FieldSink& o) {
  o.rows({{Integer, "satellite", v.satellite}, {Single, "collectionTime", v.collectionTime, "s"},
          {Integer, "health", v.health}, {Integer, "iode", v.iode}, {Single, "toe", v.toe, "s"},
          {Integer, "fitFlag", v.fitFlag}, {Single, "accuracy", v.accuracy, "m"}});
}

void DescribeFields(const AlmanacData& v, FieldSink& o) {
  o.rows({{Integer, "satellite", v.satellite}, {Single, "tZc", v.tZc, "s"},
          {Integer, "week", v.week}, {Single, "eccentricity", v.eccentricity},
          {Single, "tOa", v.tOa, "s"}, {Single, "inclination", v.inclination, "rad"},
          {Single, "omegaDot", v.omegaDot, "rad/s"}, {Single, "sqrtA", v.sqrtA, "m^1/2"},
          {Single, "omega0", v.omega0, "rad"}, {Single, "omega", v.omega, "rad"},
          {Single, "meanAnomaly", v.meanAnomaly, "rad"}});
}

void DescribeFields(const AlmanacHealth& v, FieldSink& o) {
  for (std::size_t i = 0; i < v.health.size(); ++i) o.integer(detail::kSvFieldNames[i], v.health[i]);
}

}  // namespace halvix::reports
