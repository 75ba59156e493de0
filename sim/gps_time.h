// GPS time arithmetic on the receiver side: weeks, times of week and the
// calendar, with GPS - UTC fixed at the current 18 leap seconds.
#pragma once

#include <cstdint>

namespace halvix::sim {

inline constexpr std::int64_t kSecondsPerDay = 86400;
inline constexpr std::int64_t kSecondsPerWeek = 604800;
inline constexpr int kLeapSeconds = 18;
// 1980-01-06 counted in days from 1970-01-01.
inline constexpr std::int64_t kGpsEpochUnixDays = 3657;

struct CalendarTime {
  int year = 1980, month = 1, day = 6;
  int hour = 0, minute = 0, second = 0;
};

// Calendar date and time of a count of seconds since the GPS epoch (GPS or UTC
// seconds alike: only the calendar walk is done here).
CalendarTime CalendarFromGpsSeconds(std::int64_t seconds);
// Seconds since the GPS epoch for a calendar date and time.
std::int64_t GpsSecondsFromCalendar(const CalendarTime& t);

inline std::int64_t WeekOf(std::int64_t gpsSeconds) { return gpsSeconds / kSecondsPerWeek; }
inline std::int64_t TimeOfWeekOf(std::int64_t gpsSeconds) { return gpsSeconds % kSecondsPerWeek; }

}  // namespace halvix::sim
