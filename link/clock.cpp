#include "link/clock.h"

#include <chrono>
#include <thread>

namespace halvix::link {

std::int64_t SystemClock::nowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleepMs(std::int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::int64_t VirtualClock::nowMs() const { return now_; }

void VirtualClock::sleepMs(std::int64_t ms) {
  if (ms > 0) now_ += ms;
}

}  // namespace halvix::link
