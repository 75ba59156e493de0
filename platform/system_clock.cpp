#include "platform/system_clock.h"

#include <QDateTime>

#include "platform/operator_prompts.h"

namespace halvix::platform {

UtcDateTime HostPcClock::nowUtc() const {
  const QDateTime now = QDateTime::currentDateTimeUtc();
  const QDate d = now.date();
  const QTime t = now.time();
  return UtcDateTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

bool FixedPcClock::setUtc(const UtcDateTime& utc) {
  requests_.push_back(utc);
  if (!acceptSet_) return false;
  now_ = utc;
  return true;
}

int GpsSecondsToUtc(PcClock& clock, double utcSeconds) {
  const std::optional<UtcDateTime> utc = GpsSecondsToUtc(utcSeconds, 0.0);
  if (!utc) return 1;
  return clock.setUtc(*utc) ? 0 : 1;
}

double PcClockAsGpsSeconds(const PcClock& clock) { return PcClockAsGpsSeconds(clock.nowUtc()); }

void SetPcClockFromGps(OperatorPrompts& prompts, PcClock& clock, double gpsSeconds,
                       float utcOffset) {
  if (gpsSeconds == 0.0) {
    // The explanation goes in the title bar.
    prompts.message(kNoGpsTimeTitle, kCantSetTimeText, PromptButtons::Ok, PromptIcon::None);
    return;
  }
  if (GpsSecondsToUtc(clock, gpsSeconds - static_cast<double>(utcOffset)) != 0) {
    prompts.message(kTimeSetFailureTitle, kCantSetTimeText, PromptButtons::Ok, PromptIcon::None);
    return;
  }
  prompts.message(kTimeSetTitle, kTimeSetText, PromptButtons::Ok, PromptIcon::None);
}

}  // namespace halvix::platform
