// The PC's own clock (UTC) as a seam, and the PC clock transfer built on it:
// setting the PC clock from the receiver's GPS time, and reading the PC clock
// as GPS seconds for the time upload. Tests use FixedPcClock only: the
// machine's root could really set the clock.
#pragma once

#include <QString>
#include <vector>

#include "platform/gps_time.h"

namespace halvix::platform {

class OperatorPrompts;

class PcClock {
 public:
  virtual ~PcClock() = default;
  // The PC's current UTC time, whole seconds.
  virtual UtcDateTime nowUtc() const = 0;
  // Sets the PC's UTC time. False when the system refuses (no privilege,
  // a date it cannot take).
  virtual bool setUtc(const UtcDateTime& utc) = 0;
};

// The operating system's clock. Setting needs the right to change the time.
class HostPcClock final : public PcClock {
 public:
  UtcDateTime nowUtc() const override;
  bool setUtc(const UtcDateTime& utc) override;
};

// A clock that reads a given time and records what it is asked to set instead
// of touching the system. Used by tests, and by a run that must not change
// the machine's time.
class FixedPcClock final : public PcClock {
 public:
  explicit FixedPcClock(const UtcDateTime& now = {}, bool acceptSet = true)
      : now_(now), acceptSet_(acceptSet) {}

  UtcDateTime nowUtc() const override { return now_; }
  bool setUtc(const UtcDateTime& utc) override;

  void setNow(const UtcDateTime& now) { now_ = now; }
  void acceptSet(bool accept) { acceptSet_ = accept; }
  // Every time asked for, accepted or not.
  const std::vector<UtcDateTime>& setRequests() const { return requests_; }

 private:
  UtcDateTime now_;
  bool acceptSet_;
  std::vector<UtcDateTime> requests_;
};

// Sets the PC clock to the UTC time of the given seconds since the GPS epoch
// (already corrected by the UTC offset). 0 on success, non-zero when the time
// cannot be converted or the clock refuses it.
int GpsSecondsToUtc(PcClock& clock, double utcSeconds);

// The PC's current UTC time as seconds since the GPS epoch, no leap seconds.
double PcClockAsGpsSeconds(const PcClock& clock);

// The receiver's time to the PC: GPS seconds minus the UTC offset, with the
// outcome shown to the operator. GPS seconds of exactly 0 means the receiver
// has no time yet, and the clock is left alone.
void SetPcClockFromGps(OperatorPrompts& prompts, PcClock& clock, double gpsSeconds,
                       float utcOffset);

// Texts of the transfer's message boxes.
inline const QString kCantSetTimeText = QStringLiteral("Can't set time");
inline const QString kNoGpsTimeTitle = QStringLiteral("GPS time is not available yet.");
inline const QString kTimeSetFailureTitle = QStringLiteral("Time set failure.");
inline const QString kTimeSetText = QStringLiteral("PC time was set.");
inline const QString kTimeSetTitle = QStringLiteral("Success");

}  // namespace halvix::platform
