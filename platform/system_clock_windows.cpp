// Setting the PC clock on Windows.
#include <windows.h>

#include "platform/system_clock.h"

namespace halvix::platform {

bool HostPcClock::setUtc(const UtcDateTime& utc) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(utc.year);
  st.wMonth = static_cast<WORD>(utc.month);
  st.wDay = static_cast<WORD>(utc.day);
  st.wHour = static_cast<WORD>(utc.hour);
  st.wMinute = static_cast<WORD>(utc.minute);
  st.wSecond = static_cast<WORD>(utc.second);
  st.wDayOfWeek = 0;
  st.wMilliseconds = 0;
  return SetSystemTime(&st) != 0;
}

}  // namespace halvix::platform
