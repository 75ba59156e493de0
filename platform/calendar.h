// Proleptic Gregorian day counting shared by the GPS date display and the PC
// clock conversions. Works for any year, so nothing depends on a year table
// running out.
#pragma once

#include <cstdint>

namespace halvix::platform {

struct CivilDate {
  std::int64_t year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
};

bool IsLeapYear(std::int64_t year);

// Days from 1970-01-01 to the given date (negative before it).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
CivilDate CivilFromDays(std::int64_t days);

// Day number of the GPS epoch, 1980-01-06, on the DaysFromCivil scale.
inline constexpr std::int64_t kGpsEpochDays = 3657;

}  // namespace halvix::platform
