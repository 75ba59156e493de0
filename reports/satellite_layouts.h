// Layouts of the satellite reports 0x5C, 0x6D, 0x5A, 0x5B, 0x40 and 0x49, the
// satellite table rules (row text, selection list, panel colour) and the texts
// of the satellite and almanac windows.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "reports/field_sink.h"

namespace halvix::reports {

// Each report's decode is followed by its field description for headless
// use: names, units and values.

// Rows of the main satellite table, one per receiver channel.
inline constexpr int kSatelliteRows = 12;

// Report 0x5C, tracking status of one satellite; payload exactly 24 bytes.
// A channel of 12 or more is rejected too: the table has twelve rows.
struct TrackingStatus {
  static constexpr int kLength = 24;
  std::uint8_t satellite = 0;
  int channel = 0;  // 0..11, bits 7..3 of the channel byte
  std::uint8_t acquisition = 0;
  std::uint8_t ephemeris = 0;
  double signalLevel = 0;      // AMU
  double lastMeasurement = 0;  // seconds, 0 when none taken
  double elevation = 0;        // radians
  double azimuth = 0;          // radians

  int row() const { return channel + 1; }  // 1..12
  // "%3d%4d%5d%4d" + "%8.1f%10.1f%6.1f%7.1f", lined up with the column titles.
  QString rowText() const;
  QString satelliteText() const;  // "%2d"
  QString signalText() const;     // "%5.1f"
};
std::optional<TrackingStatus> DecodeTrackingStatus(const std::uint8_t* payload, int length);
void DescribeFields(const TrackingStatus& v, FieldSink& o);

// Satellites of the last selection report, in report order; 0 is empty and
// negative means flagged as not used.
using SatelliteSelectionTable = std::array<int, kSatelliteRows>;

// Report 0x6D, all-in-view satellite selection; payload at least 17 bytes.
struct SatelliteSelection {
  static constexpr int kMinLength = 17;
  std::uint8_t mode = 0;
  double pdop = 0;
  double hdop = 0;
  double vdop = 0;
  double tdop = 0;
  // Every byte from offset 17 on; the longest payload the link delivers is 511 bytes.
  static constexpr int kMaxSatellites = 511 - kMinLength;
  std::array<std::int8_t, kMaxSatellites> satellites{};
  int satelliteCount = 0;

  // The first twelve satellites, the rest of the table 0: the colouring table.
  SatelliteSelectionTable table() const;
  // "%4d" of every satellite byte; empty for a report without satellites.
  QString listText() const;
};
std::optional<SatelliteSelection> DecodeSatelliteSelection(const std::uint8_t* payload, int length);
void DescribeFields(const SatelliteSelection& v, FieldSink& o);

// "%.1f" of a dilution of precision.
QString FormatDop(double dop);

// Colour of a main-table satellite panel.
enum class SvColour { Window, Green, Yellow };
// Window for satellite 0 or one not in the table; otherwise the first entry
// whose absolute value is the satellite decides: negative yellow, else green.
SvColour SatelliteColour(int satellite, const SatelliteSelectionTable& selection);

// Texts of a main-table row that has gone silent.
inline const QString kIdleSatelliteText = QStringLiteral("0");
inline const QString kIdleSignalText = QStringLiteral("0.0");

// Report 0x5A, raw measurement data; payload exactly 25 bytes.
struct RawMeasurement {
  static constexpr int kLength = 25;
  std::uint8_t satellite = 0;
  double sampleLength = 0;  // ms
  double signalLevel = 0;   // AMU
  double codePhase = 0;     // 1/16 chip
  double doppler = 0;       // Hz
  double time = 0;          // seconds

  QString sampleLengthText() const;  // "%2f"
  QString signalLevelText() const;   // "%.1f"
  QString codePhaseText() const;     // "%8f"
  QString dopplerText() const;       // "%.2f"
  QString timeText() const;          // "%.2f"
};
std::optional<RawMeasurement> DecodeRawMeasurement(const std::uint8_t* payload, int length);
void DescribeFields(const RawMeasurement& v, FieldSink& o);

// Report 0x5B, satellite ephemeris status; payload exactly 16 bytes.
struct EphemerisStatus {
  static constexpr int kLength = 16;
  std::uint8_t satellite = 0;
  double collectionTime = 0;  // seconds
  std::uint8_t health = 0;
  std::uint8_t iode = 0;
  double toe = 0;  // seconds
  std::uint8_t fitFlag = 0;
  double accuracy = 0;  // URA, metres

  // Drop-down item of the satellite (0 for satellite 1); none for 0 or above 32.
  std::optional<int> comboIndex() const;
  QString collectionTimeText() const;  // "%.2f"
  QString healthText() const;          // "%X"
  QString iodeText() const;            // "%02X"
  QString toeText() const;             // "%.2f"
  QString fitFlagText() const;         // "%X"
  QString accuracyText() const;        // "%.2f"
};
std::optional<EphemerisStatus> DecodeEphemerisStatus(const std::uint8_t* payload, int length);
void DescribeFields(const EphemerisStatus& v, FieldSink& o);

// Report 0x40, almanac of one satellite; payload exactly 39 bytes.
struct AlmanacData {
  static constexpr int kLength = 39;
  std::uint8_t satellite = 0;
  double tZc = 0;
  std::uint16_t week = 0;
  double eccentricity = 0;
  double tOa = 0;
  double inclination = 0;  // i_o
  double omegaDot = 0;     // OMEGA_dot
  double sqrtA = 0;
  double omega0 = 0;  // OMEGA_0
  double omega = 0;   // argument of perigee
  double meanAnomaly = 0;  // M_0

  // The ten panel texts in window order: T_zc "%.0f", week "%d", eccentricity
  // "%8f", T_oa "%.0f", then i_o, OMEGA_dot, sqrt A, OMEGA_0, omega, M_0 "%8f".
  std::array<QString, 10> panelTexts() const;
};
std::optional<AlmanacData> DecodeAlmanacData(const std::uint8_t* payload, int length);
void DescribeFields(const AlmanacData& v, FieldSink& o);

// Report 0x49, almanac health page; payload exactly 32 bytes, byte i for
// satellite i + 1.
struct AlmanacHealth {
  static constexpr int kLength = 32;
  std::array<std::uint8_t, 32> health{};

  QString healthText(int satellite) const;  // "%X" for satellites 1..32, empty otherwise
};
std::optional<AlmanacHealth> DecodeAlmanacHealth(const std::uint8_t* payload, int length);
void DescribeFields(const AlmanacHealth& v, FieldSink& o);

}  // namespace halvix::reports
