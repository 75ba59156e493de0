// The clock seam: every fixed wait of the link and the tools goes through it,
// so tests can run minutes of receiver traffic on virtual time.
#pragma once

#include <atomic>
#include <cstdint>

namespace halvix::link {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic milliseconds since an arbitrary start.
  virtual std::int64_t nowMs() const = 0;
  // Blocks the calling thread for the given time (a virtual clock just advances).
  virtual void sleepMs(std::int64_t ms) = 0;
};

// Wall-clock implementation used by the program.
class SystemClock final : public Clock {
 public:
  std::int64_t nowMs() const override;
  void sleepMs(std::int64_t ms) override;
};

// Virtual time for tests and headless runs: sleeping advances time at once.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::int64_t startMs = 0) : now_(startMs) {}
  std::int64_t nowMs() const override;
  void sleepMs(std::int64_t ms) override;
  void advance(std::int64_t ms) { sleepMs(ms); }

 private:
  std::atomic<std::int64_t> now_;
};

}  // namespace halvix::link
