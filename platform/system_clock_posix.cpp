// Setting the PC clock on POSIX systems.
#include <ctime>

#include "platform/system_clock.h"
#include "platform/calendar.h"

namespace halvix::platform {

bool HostPcClock::setUtc(const UtcDateTime& utc) {
  const std::int64_t days = platform::DaysFromCivil(utc.year, utc.month, utc.day);
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(((days * 24 + utc.hour) * 60 + utc.minute) * 60 + utc.second);
  ts.tv_nsec = 0;
  return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

}  // namespace halvix::platform
