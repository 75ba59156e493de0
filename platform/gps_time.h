// Conversions between GPS seconds (since 1980-01-06 00:00:00) and calendar
// UTC, for setting the PC clock from the receiver and uploading the PC's time.
// Pure: reading and setting the system clock happen elsewhere.
#pragma once

#include <optional>

namespace halvix::platform {

// A calendar UTC time in whole seconds, as the system clock takes it.
struct UtcDateTime {
  int year = 1980;
  int month = 1;  // 1..12
  int day = 6;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const UtcDateTime&, const UtcDateTime&) = default;
};

// The UTC time of gpsSeconds - utcOffset, fractions of a second dropped.
// Nothing for a time before the GPS epoch, after year 9999, or not a number:
// such a time cannot be set on the PC clock.
std::optional<UtcDateTime> GpsSecondsToUtc(double gpsSeconds, double utcOffset);

// Seconds from the GPS epoch to the given calendar time, counted without leap
// seconds (the PC clock runs on UTC, the receiver applies the offset itself).
double PcClockAsGpsSeconds(const UtcDateTime& utc);

}  // namespace halvix::platform
