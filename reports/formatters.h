// Display formatters shared by the report decoders: times of week, GPS dates,
// angles and the month and weekday names. Pure text building, no widgets.
#pragma once

#include <QString>

namespace halvix::reports {

inline constexpr double kSecondsPerWeek = 604800.0;
inline constexpr double kSecondsPerDay = 86400.0;

// 180 / 3.14159, not full-precision pi: uploads use the matching 3.14159 / 180,
// so a position sent and read back shows unchanged.
inline constexpr double kRadiansToDegrees = 57.295827908797776;

// What the receiver sends as time of week before it has a time.
inline constexpr float kNoTimeOfWeek = -1.0f;

inline const QString kNoTimeYetText = QStringLiteral("<No time yet>");
inline const QString kBadTimeText = QStringLiteral("<Bad time>");

double RadiansToDegrees(double radians);

// "Jan".."Dec" for 1..12, "???" for anything else (month 0 included).
QString MonthName(int month);
// "Sun".."Sat" for days 0..6 of the GPS week, "???" for anything else.
QString WeekdayName(int day);

// Hours, minutes and seconds of a time of week: "Sun 00:00:00", or "00:00:00"
// when timeOnly is set. Gives "<No time yet>" for exactly -1, adds one week to
// other negative values, and gives "<Bad time>" for anything still outside
// the week. The text is copied into *buffer only when it is a time.
QString FormatWeekTime(float timeOfWeek, bool timeOnly, QString* buffer = nullptr);

// "%d:%02d:%012.9f" of hours, minutes and seconds; same out-of-range texts.
QString FormatPreciseWeekTime(double timeOfWeek);

// " Mon D, YYYY" (leading blank) of the Gregorian date that lies the given
// seconds after 1980-01-06 00:00. Any year, 2100 and later included.
QString FormatGpsDate(double gpsSeconds);

// Main-window degree/minute/second text "%d° %d' %.3f"; only the degrees carry
// the sign, and an angle between -1 and 0 degrees shows "-0°".
QString FormatDegMinSec(double degrees);

// Main-window latitude or longitude: FormatDegMinSec, or "%.6f" of the degrees.
QString FormatLatLon(double degrees, bool degMinSec);

// Degrees and decimal minutes with a hemisphere letter, as in the
// comprehensive time window: "33°", "30.0522'", "S".
struct HemisphereAngle {
  QString degrees;
  QString minutes;
  QString hemisphere;
};
HemisphereAngle FormatHemisphereAngle(double degrees, char positiveLetter, char negativeLetter);
HemisphereAngle FormatLatitudeHemisphere(double degrees);   // 'N' / 'S'
HemisphereAngle FormatLongitudeHemisphere(double degrees);  // 'E' / 'W'

// "%s %d, %d" of month name, day and year, as the timing reports show a date.
QString FormatCalendarDate(int month, int day, int year);

// "%02d:%02d:%02d".
QString FormatClockTime(int hours, int minutes, int seconds);

}  // namespace halvix::reports
