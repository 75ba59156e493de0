#include "platform/gps_time.h"

#include <cmath>
#include <cstdint>

#include "platform/calendar.h"

namespace halvix::platform {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

std::optional<UtcDateTime> GpsSecondsToUtc(double gpsSeconds, double utcOffset) {
  const double utc = gpsSeconds - utcOffset;
  if (!std::isfinite(utc) || utc < 0) return std::nullopt;
  static const double kLastSecond =
      static_cast<double>((platform::DaysFromCivil(9999, 12, 31) - platform::kGpsEpochDays + 1) *
                          kSecondsPerDay) - 1.0;
  if (utc > kLastSecond) return std::nullopt;

  // Whole seconds first, so the date and the time of day come from one value.
  const auto whole = static_cast<std::int64_t>(utc);
  const std::int64_t days = whole / kSecondsPerDay;
  const std::int64_t secondOfDay = whole % kSecondsPerDay;
  const platform::CivilDate date = platform::CivilFromDays(platform::kGpsEpochDays + days);

  UtcDateTime out;
  out.year = static_cast<int>(date.year);
  out.month = date.month;
  out.day = date.day;
  out.hour = static_cast<int>(secondOfDay / 3600);
  out.minute = static_cast<int>(secondOfDay % 3600 / 60);
  out.second = static_cast<int>(secondOfDay % 60);
  return out;
}

double PcClockAsGpsSeconds(const UtcDateTime& utc) {
  const std::int64_t days =
      platform::DaysFromCivil(utc.year, utc.month, utc.day) - platform::kGpsEpochDays;
  const std::int64_t seconds = ((days * 24 + utc.hour) * 60 + utc.minute) * 60 + utc.second;
  return static_cast<double>(seconds);
}

}  // namespace halvix::platform
