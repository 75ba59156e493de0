#include "reports/formatters.h"

#include <QChar>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/calendar.h"

namespace halvix::reports {

namespace {

const QChar kDegreeSign(0x00B0);

// Angles this large are not positions; they are shown as plain numbers rather
// than split into an integer that could not hold them.
constexpr double kLargestSplitAngle = 1.0e9;

// True when printf would round the value up to a full 60 (seconds or minutes)
// at the given number of decimals: the field must then carry instead.
bool PrintsAsSixty(double value, int decimals) {
  return QString::number(value, 'f', decimals).startsWith(QStringLiteral("60"));
}

}  // namespace

double RadiansToDegrees(double radians) { return radians * kRadiansToDegrees; }

QString MonthName(int month) {
  static const std::array<const char*, 13> kNames = {"???", "Jan", "Feb", "Mar", "Apr",
                                                     "May", "Jun", "Jul", "Aug", "Sep",
                                                     "Oct", "Nov", "Dec"};
  if (month < 1 || month > 12) return QString::fromLatin1(kNames[0]);
  return QString::fromLatin1(kNames[static_cast<std::size_t>(month)]);
}

QString WeekdayName(int day) {
  static const std::array<const char*, 7> kNames = {"Sun", "Mon", "Tue", "Wed",
                                                    "Thu", "Fri", "Sat"};
  if (day < 0 || day > 6) return QStringLiteral("???");
  return QString::fromLatin1(kNames[static_cast<std::size_t>(day)]);
}

QString FormatWeekTime(float timeOfWeek, bool timeOnly, QString* buffer) {
  if (timeOfWeek == kNoTimeOfWeek) return kNoTimeYetText;
  double value = timeOfWeek;
  if (value < 0) value += kSecondsPerWeek;
  if (!(value >= 0 && value < kSecondsPerWeek)) return kBadTimeText;  // NaN lands here too

  // Round to whole seconds before splitting, so 59.6 s reads as the next
  // minute and never as "60"; the last half second of the week wraps to Sunday.
  double whole = std::nearbyint(value);
  if (whole >= kSecondsPerWeek) whole -= kSecondsPerWeek;
  const auto seconds = static_cast<std::int32_t>(whole);
  const int day = seconds / 86400;
  const int hours = seconds / 3600 % 24;
  const int minutes = seconds / 60 % 60;
  const int secs = seconds % 60;

  QString text = QString::asprintf("%02d:%02d:%02d", hours, minutes, secs);
  if (!timeOnly) text = WeekdayName(day) + QLatin1Char(' ') + text;
  if (buffer != nullptr) *buffer = text;
  return text;
}

QString FormatPreciseWeekTime(double timeOfWeek) {
  if (timeOfWeek == static_cast<double>(kNoTimeOfWeek)) return kNoTimeYetText;
  double value = timeOfWeek;
  if (value < 0) value += kSecondsPerWeek;
  if (!(value >= 0 && value < kSecondsPerWeek)) return kBadTimeText;

  double seconds = std::fmod(value, 60.0);
  if (PrintsAsSixty(seconds, 9)) {
    // Carry into the minute instead of showing ":60.000000000".
    value = (value - seconds) + 60.0;
    if (value >= kSecondsPerWeek) value -= kSecondsPerWeek;
    seconds = 0.0;
  }
  const auto hours = static_cast<int>(std::fmod(value / 3600.0, 24.0));
  const auto minutes = static_cast<int>(std::fmod(value / 60.0, 60.0));
  return QString::asprintf("%d:%02d:%012.9f", hours, minutes, seconds);
}

QString FormatGpsDate(double gpsSeconds) {
  static const std::int64_t kFirstDay = platform::DaysFromCivil(1, 1, 1) - platform::kGpsEpochDays;
  static const std::int64_t kLastDay = platform::DaysFromCivil(9999, 12, 31) - platform::kGpsEpochDays;
  if (!std::isfinite(gpsSeconds)) return kBadTimeText;
  // Whole days since the epoch; floor keeps a time before the epoch on its own day.
  const double days = std::floor(gpsSeconds / kSecondsPerDay);
  if (days < static_cast<double>(kFirstDay) || days > static_cast<double>(kLastDay)) {
    return kBadTimeText;
  }
  const platform::CivilDate date = platform::CivilFromDays(static_cast<std::int64_t>(days) + platform::kGpsEpochDays);
  return QLatin1Char(' ') + FormatCalendarDate(date.month, date.day, static_cast<int>(date.year));
}

QString FormatDegMinSec(double degrees) {
  if (!std::isfinite(degrees) || std::fabs(degrees) >= kLargestSplitAngle) {
    return QString::asprintf("%.6f", degrees);
  }
  auto whole = static_cast<std::int64_t>(degrees);  // toward zero, keeps the sign
  const float m = static_cast<float>(std::fabs(degrees - static_cast<double>(whole)) * 60.0);
  int minutes = static_cast<int>(m);
  float seconds = (m - static_cast<float>(minutes)) * 60.0f;
  if (PrintsAsSixty(seconds, 3)) {
    seconds = 0.0f;
    ++minutes;
  }
  if (minutes >= 60) {
    minutes -= 60;
    whole += degrees < 0 ? -1 : 1;
  }
  // The sign lives on the degrees alone, which read 0 between -1 and 0.
  const QString sign = (degrees < 0 && whole == 0) ? QStringLiteral("-") : QString();
  return sign + QString::number(whole) + kDegreeSign +
         QString::asprintf(" %d' %.3f", minutes, static_cast<double>(seconds));
}

QString FormatLatLon(double degrees, bool degMinSec) {
  return degMinSec ? FormatDegMinSec(degrees) : QString::asprintf("%.6f", degrees);
}

HemisphereAngle FormatHemisphereAngle(double degrees, char positiveLetter, char negativeLetter) {
  HemisphereAngle out;
  char letter = positiveLetter;
  double value = degrees;
  if (value < 0) {
    letter = negativeLetter;
    value = -value;
  }
  out.hemisphere = QString(QLatin1Char(letter));
  if (!std::isfinite(value) || value >= kLargestSplitAngle) {
    out.degrees = QString::asprintf("%.6f", value) + kDegreeSign;
    return out;
  }
  auto whole = static_cast<std::int64_t>(value);
  float minutes = static_cast<float>(value - static_cast<double>(whole)) * 60.0f;
  if (PrintsAsSixty(minutes, 4)) {
    minutes = 0.0f;
    ++whole;
  }
  out.degrees = QString::number(whole) + kDegreeSign;
  out.minutes = QString::asprintf("%.4f'", static_cast<double>(minutes));
  return out;
}

HemisphereAngle FormatLatitudeHemisphere(double degrees) {
  return FormatHemisphereAngle(degrees, 'N', 'S');
}

HemisphereAngle FormatLongitudeHemisphere(double degrees) {
  return FormatHemisphereAngle(degrees, 'E', 'W');
}

QString FormatCalendarDate(int month, int day, int year) {
  return MonthName(month) + QString::asprintf(" %d, %d", day, year);
}

QString FormatClockTime(int hours, int minutes, int seconds) {
  return QString::asprintf("%02d:%02d:%02d", hours, minutes, seconds);
}

}  // namespace halvix::reports
