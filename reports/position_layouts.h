// Layouts of the time, position and velocity reports 0x41, 0x42, 0x43, 0x4A
// (position and reference-altitude forms), 0x56, 0x83, 0x84 and 0x8F-0B, with
// the exact-length checks and the texts of the comprehensive time display.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "reports/field_sink.h"

namespace halvix::reports {

// Each report's decode and its field description for headless use: names,
// units and values.

// Report 0x41, GPS time; payload exactly 10 bytes.
struct GpsTime {
  static constexpr int kLength = 10;
  double timeOfWeek = 0;  // seconds (single); -1 before the receiver has a time
  std::uint16_t week = 0;
  double utcOffset = 0;  // seconds (single)

  // week * 604800 + time of week.
  double gpsSeconds() const;
  // The offset truncated toward zero, as handed to the PC clock transfer.
  float wholeUtcOffset() const;
};
std::optional<GpsTime> DecodeGpsTime(const std::uint8_t* payload, int length);
void DescribeFields(const GpsTime& v, FieldSink& o);

// Report 0x42, single-precision XYZ position; 16 bytes. Metres.
struct XyzPosition {
  static constexpr int kLength = 16;
  double x = 0, y = 0, z = 0;
};
std::optional<XyzPosition> DecodeXyzPosition(const std::uint8_t* payload, int length);
void DescribeFields(const XyzPosition& v, FieldSink& o);

// Report 0x43, XYZ velocity fix; 20 bytes. m/s.
struct XyzVelocity {
  static constexpr int kLength = 20;
  double x = 0, y = 0, z = 0, biasRate = 0;
};
std::optional<XyzVelocity> DecodeXyzVelocity(const std::uint8_t* payload, int length);
void DescribeFields(const XyzVelocity& v, FieldSink& o);

// The fields of an LLA position fix, sent as singles or as doubles.
struct LlaFix {
  double latitude = 0, longitude = 0;  // radians
  double altitude = 0, clockBias = 0;  // metres
};

// Report 0x4A of 20 bytes, single-precision LLA position.
struct LlaPosition : LlaFix {
  static constexpr int kLength = 20;
};
std::optional<LlaPosition> DecodeLlaPosition(const std::uint8_t* payload, int length);
void DescribeFields(const LlaPosition& v, FieldSink& o);

// Report 0x4A of 9 bytes, the 2D reference altitude.
struct ReferenceAltitude {
  static constexpr int kLength = 9;
  double altitude = 0;  // metres (single)
};
std::optional<ReferenceAltitude> DecodeReferenceAltitude(const std::uint8_t* payload, int length);
void DescribeFields(const ReferenceAltitude& v, FieldSink& o);

// Report 0x56, east-north-up velocity fix; 20 bytes. m/s.
struct EnuVelocity {
  static constexpr int kLength = 20;
  double east = 0, north = 0, up = 0, biasRate = 0;
};
std::optional<EnuVelocity> DecodeEnuVelocity(const std::uint8_t* payload, int length);
void DescribeFields(const EnuVelocity& v, FieldSink& o);

// Report 0x83, double-precision XYZ position; 36 bytes. Metres.
struct PreciseXyzPosition {
  static constexpr int kLength = 36;
  double x = 0, y = 0, z = 0, clockBias = 0;
};
std::optional<PreciseXyzPosition> DecodePreciseXyzPosition(const std::uint8_t* payload,
                                                           int length);
void DescribeFields(const PreciseXyzPosition& v, FieldSink& o);

// Report 0x84, double-precision LLA position; 36 bytes.
struct PreciseLlaPosition : LlaFix {
  static constexpr int kLength = 36;
};
std::optional<PreciseLlaPosition> DecodePreciseLlaPosition(const std::uint8_t* payload,
                                                           int length);
void DescribeFields(const PreciseLlaPosition& v, FieldSink& o);

// Report 0x8F-0B, comprehensive time; payload exactly 74 bytes.
struct ComprehensiveTime {
  static constexpr int kLength = 74;
  std::uint16_t eventCount = 0;  // non-zero when answering an event input
  double timeOfWeek = 0;         // seconds
  std::uint8_t day = 0, month = 0;  // month 1..12
  std::uint16_t year = 0;
  std::int8_t receiverMode = 0;  // 0..6
  std::int16_t utcOffset = 0;    // seconds; its sign tells the time scale
  double oscillatorBias = 0, oscillatorDrift = 0;    // metres, m/s
  double biasUncertainty = 0, driftUncertainty = 0;  // metres, m/s (singles)
  double latitude = 0, longitude = 0;                // radians
  double altitude = 0;                               // metres
  // Per channel: positive used for fixes, negative not used, 0 empty.
  std::array<std::int8_t, 8> satellites{};

  QString dateText() const;       // "%s %d, %d"
  QString utcOffsetText() const;  // "%d" of the absolute offset
  QString timeOfWeekText() const;  // "%.2f"
};
std::optional<ComprehensiveTime> DecodeComprehensiveTime(const std::uint8_t* payload, int length);
void DescribeFields(const ComprehensiveTime& v, FieldSink& o);

// Receiver-mode text of report 0x8F-0B; "Invalid Mode" outside 0..6.
QString ComprehensiveModeText(int mode);

// GPS and UTC time-of-week texts (weekday style) chosen by the offset's sign:
// negative, the time of week is GPS; positive, it is UTC; zero, no UTC.
struct ComprehensiveTimeTexts {
  QString gpsTime;
  QString utcTime;     // empty when there is no UTC
  bool hasUtc = false;  // the UTC panel is live (window colour) rather than greyed
};
ComprehensiveTimeTexts FormatComprehensiveTimes(double timeOfWeek, int utcOffset);

// One satellite panel of the comprehensive time window.
struct ComprehensiveSatellite {
  QString text;               // "%d" of the absolute number, empty for 0
  bool usedForFixes = false;  // painted aqua
};
ComprehensiveSatellite FormatComprehensiveSatellite(std::int8_t satellite);


}  // namespace halvix::reports
