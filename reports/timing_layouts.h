// Layouts of the timing super-reports 0x8F-AB, 0x8F-AC and 0x8F-AD: payload to
// typed values, with the exact-length check, plus the fixed texts and small
// text builders their displays use. Offsets count from the sub-code byte.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "reports/field_sink.h"

namespace halvix::reports {

// Report 0x8F-AB, primary timing; payload exactly 17 bytes.
struct PrimaryTiming {
  static constexpr int kLength = 17;
  std::uint32_t timeOfWeek = 0;  // seconds, unsigned
  std::uint16_t week = 0;
  std::int16_t utcOffset = 0;  // seconds
  std::uint8_t timingFlags = 0;
  std::uint8_t seconds = 0, minutes = 0, hours = 0, day = 0, month = 0;  // month 1..12
  std::uint16_t year = 0;

  // Bit 0: the date and time are UTC rather than GPS.
  bool isUtc() const { return (timingFlags & 0x01) != 0; }
  QString timeScaleText() const;  // "UTC" or "GPS"
  // week * 604800 + time of week, for the PC clock transfer.
  double gpsSeconds() const;
  QString clockText() const;  // "%02d:%02d:%02d"
  QString dateText() const;   // "%s %d, %d"
};
std::optional<PrimaryTiming> DecodePrimaryTiming(const std::uint8_t* payload, int length);

// Report 0x8F-AC, supplemental timing; payload exactly 68 bytes.
struct SupplementalTiming {
  static constexpr int kLength = 68;
  std::uint8_t receiverMode = 0;    // 0..7
  std::uint8_t surveyProgress = 0;  // percent
  std::uint16_t minorAlarms = 0;
  std::uint8_t statusCode = 0;  // 0..16
  double ppsOffset = 0;         // ns (single on the wire)
  double oscillatorOffset = 0;  // ppb (single)
  double latitude = 0;          // radians
  double longitude = 0;         // radians
  double altitude = 0;          // metres
  double quantizationError = 0;  // ns (single)
  bool ppsGenerated = false;     // byte 64 non-zero

  bool alarmSet(int bit) const;
  // Alarm bit 3 clear: satellites are usable (the reset test waits for this).
  bool satellitesUsable() const { return !alarmSet(3); }
  double latitudeDegrees() const;
  double longitudeDegrees() const;
  QString surveyText() const;  // "%d%%"
};
std::optional<SupplementalTiming> DecodeSupplementalTiming(const std::uint8_t* payload, int length);

// The minor alarms of report 0x8F-AC that have a lamp in the main window, top
// to bottom: the bit of the alarm word, the lamp's caption and hint, and the
// label of its series where the alarms are exported. Bits 0, 4 and 12 to 15
// have none.
struct MinorAlarm {
  int bit;
  const char* caption;
  const char* hint;
  const char* label;
};
inline constexpr std::array<MinorAlarm, 10> kMinorAlarms{{
    {1, "Antenna Open", "When yellow, the antenna input is open", "antenna_open"},
    {2, "Antenna Short", "When yellow, the antenna input is shorted", "antenna_short"},
    {3, "Satellite Tracking", "When yellow, no satellites are usable", "satellite_tracking"},
    {5, "Self-Survey Activity", "When Yellow, a self-survey is in progress", "self_survey_activity"},
    {6, "Stored Position", "When Yellow, a stored position does not exist", "stored_position"},
    {7, "Leap Second Pending", "When yellow, a leap second event is pending", "leap_second_pending"},
    {8, "Test Mode", "When yellow, the unit is in a test mode", "test_mode"},
    {9, "Position Questionable", "When yellow, the position accuracy is questionable",
     "position_questionable"},
    {10, "EEPROM Invalid", "When yellow, invalid EEPROM segments detected", "eeprom_invalid"},
    {11, "Almanac", "When yellow, almanac is not complete or current", "almanac"},
}};
// The antenna alarms: their lamps show only for receiver types that report them.
inline constexpr int kAntennaOpenBit = 1;
inline constexpr int kAntennaShortBit = 2;

// The bits of kMinorAlarms, in lamp order.
inline constexpr std::array<int, kMinorAlarms.size()> kMinorAlarmLampBits = [] {
  std::array<int, kMinorAlarms.size()> bits{};
  for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = kMinorAlarms[i].bit;
  return bits;
}();

// Receiver-mode text of report 0x8F-AC; "Invalid Mode" outside 0..7.
QString SupplementalModeText(int mode);
// Status text of report 0x8F-AC; "Invalid Status" outside 0..16.
QString SupplementalStatusText(int status);

// "%.2f" as the timing-output panels show their singles.
QString FormatTimingOutput(double value);

// Position download (the file line has no line end) and its confirmation text.
QString FormatPositionFileLine(double latitudeDeg, double longitudeDeg, double altitude);
QString FormatPositionDownloadMessage(double latitudeDeg, double longitudeDeg, double altitude);

// Report 0x8F-AD, primary UTC time; payload exactly 22 bytes.
struct PrimaryUtcTime {
  static constexpr int kLength = 22;
  std::uint16_t eventCount = 0;  // non-zero when answering an event input
  double fraction = 0;           // of the second, seconds
  std::uint8_t hours = 0, minutes = 0, seconds = 0, day = 0, month = 0;  // month 1..12
  std::uint16_t year = 0;
  std::uint8_t receiverStatus = 0;  // 0..13
  std::uint8_t flags = 0;

  bool flagSet(int bit) const { return bit >= 0 && bit < 8 && ((flags >> bit) & 1) != 0; }
  bool utcAvailable() const { return flagSet(0); }
  QString timeText() const;       // "%d:%02d:%012.9f" of h, m, seconds + fraction
  QString dateText() const;       // "%s %d, %d"
  QString timeScaleText() const;  // "UTC Time" or "GPS Time"
};
std::optional<PrimaryUtcTime> DecodePrimaryUtcTime(const std::uint8_t* payload, int length);

// Flag bits of report 0x8F-AD that light a lamp, in lamp order.
inline constexpr std::array<int, 5> kUtcFlagLampBits = {0, 4, 5, 6, 7};

// Receiver-status text of report 0x8F-AD; "Invalid Status" outside 0..13.
QString UtcReceiverStatusText(int status);

// Field descriptions for headless use: names, units and values.
void DescribeFields(const PrimaryTiming& v, FieldSink& o);
void DescribeFields(const SupplementalTiming& v, FieldSink& o);
void DescribeFields(const PrimaryUtcTime& v, FieldSink& o);

}  // namespace halvix::reports
