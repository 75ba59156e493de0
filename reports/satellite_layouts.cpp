#include "reports/satellite_layouts.h"

#include <algorithm>
#include <charconv>

#include <cstdlib>

#include "link/field_codec.h"
#include "reports/formatters.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using link::GetDouble;
using link::GetSingle;
using link::GetWord;

std::optional<TrackingStatus> DecodeTrackingStatus(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, TrackingStatus::kLength)) return std::nullopt;
  const int channel = payload[1] >> 3;
  if (channel >= kSatelliteRows) return std::nullopt;
  TrackingStatus r;
  r.satellite = payload[0];
  r.channel = channel;
  r.acquisition = payload[2];
  r.ephemeris = payload[3];
  r.signalLevel = GetSingle(payload + 4);
  r.lastMeasurement = GetSingle(payload + 8);
  r.elevation = GetSingle(payload + 12);
  r.azimuth = GetSingle(payload + 16);
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
  r.pdop = GetSingle(payload + 1);
  r.hdop = GetSingle(payload + 5);
  r.vdop = GetSingle(payload + 9);
  r.tdop = GetSingle(payload + 13);
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
  r.sampleLength = GetSingle(payload + 1);
  r.signalLevel = GetSingle(payload + 5);
  r.codePhase = GetSingle(payload + 9);
  r.doppler = GetSingle(payload + 13);
  r.time = GetDouble(payload + 17);
  return r;
}

QString RawMeasurement::sampleLengthText() const { return QString::asprintf("%2f", sampleLength); }
QString RawMeasurement::signalLevelText() const { return QString::asprintf("%.1f", signalLevel); }
QString RawMeasurement::codePhaseText() const { return QString::asprintf("%8f", codePhase); }
QString RawMeasurement::dopplerText() const { return QString::asprintf("%.2f", doppler); }
QString RawMeasurement::timeText() const { return QString::asprintf("%.2f", time); }

std::optional<EphemerisStatus> DecodeEphemerisStatus(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, EphemerisStatus::kLength)) return std::nullopt;
  EphemerisStatus r;
  r.satellite = payload[0];
  r.collectionTime = GetSingle(payload + 1);
  r.health = payload[5];
  r.iode = payload[6];
  r.toe = GetSingle(payload + 7);
  r.fitFlag = payload[11];
  r.accuracy = GetSingle(payload + 12);
  return r;
}

std::optional<int> EphemerisStatus::comboIndex() const {
  if (satellite < 1 || satellite > 32) return std::nullopt;
  return satellite - 1;
}

QString EphemerisStatus::collectionTimeText() const {
  return QString::asprintf("%.2f", collectionTime);
}
QString EphemerisStatus::healthText() const { return QString::asprintf("%X", health); }
QString EphemerisStatus::iodeText() const { return QString::asprintf("%02X", iode); }
QString EphemerisStatus::toeText() const { return QString::asprintf("%.2f", toe); }
QString EphemerisStatus::fitFlagText() const { return QString::asprintf("%X", fitFlag); }
QString EphemerisStatus::accuracyText() const { return QString::asprintf("%.2f", accuracy); }

std::optional<AlmanacData> DecodeAlmanacData(const std::uint8_t* payload, int length) {
  if (!detail::HasExactLength(payload, length, AlmanacData::kLength)) return std::nullopt;
  AlmanacData r;
  r.satellite = payload[0];
  r.tZc = GetSingle(payload + 1);
  r.week = GetWord(payload + 5);
  r.eccentricity = GetSingle(payload + 7);
  r.tOa = GetSingle(payload + 11);
  r.inclination = GetSingle(payload + 15);
  r.omegaDot = GetSingle(payload + 19);
  r.sqrtA = GetSingle(payload + 23);
  r.omega0 = GetSingle(payload + 27);
  r.omega = GetSingle(payload + 31);
  r.meanAnomaly = GetSingle(payload + 35);
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
  o.integer("satellite", v.satellite);
  o.integer("channel", v.channel);
  o.integer("acquisition", v.acquisition);
  o.integer("ephemeris", v.ephemeris);
  o.single("signalLevel", v.signalLevel, "AMU");
  o.single("lastMeasurement", v.lastMeasurement, "s");
  o.single("elevation", detail::Degrees(v.elevation), "deg");
  o.single("azimuth", detail::Degrees(v.azimuth), "deg");
}

void DescribeFields(const SatelliteSelection& v, FieldSink& o) {
  o.integer("mode", v.mode);
  o.single("pdop", v.pdop);
  o.single("hdop", v.hdop);
  o.single("vdop", v.vdop);
  o.single("tdop", v.tdop);
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
  o.integer("satellite", v.satellite);
  o.single("sampleLength", v.sampleLength, "ms");
  o.single("signalLevel", v.signalLevel, "AMU");
  o.single("codePhase", v.codePhase, "1/16 chip");
  o.single("doppler", v.doppler, "Hz");
  o.number("time", v.time, "s");
}

void DescribeFields(const EphemerisStatus& v, FieldSink& o) {
  o.integer("satellite", v.satellite);
  o.single("collectionTime", v.collectionTime, "s");
  o.integer("health", v.health);
  o.integer("iode", v.iode);
  o.single("toe", v.toe, "s");
  o.integer("fitFlag", v.fitFlag);
  o.single("accuracy", v.accuracy, "m");
}

void DescribeFields(const AlmanacData& v, FieldSink& o) {
  o.integer("satellite", v.satellite);
  o.single("tZc", v.tZc, "s");
  o.integer("week", v.week);
  o.single("eccentricity", v.eccentricity);
  o.single("tOa", v.tOa, "s");
  o.single("inclination", v.inclination, "rad");
  o.single("omegaDot", v.omegaDot, "rad/s");
  o.single("sqrtA", v.sqrtA, "m^1/2");
  o.single("omega0", v.omega0, "rad");
  o.single("omega", v.omega, "rad");
  o.single("meanAnomaly", v.meanAnomaly, "rad");
}

void DescribeFields(const AlmanacHealth& v, FieldSink& o) {
  for (std::size_t i = 0; i < v.health.size(); ++i) o.integer(detail::kSvFieldNames[i], v.health[i]);
}

}  // namespace halvix::reports
