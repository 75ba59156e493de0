// Timed steps on the clock seam. A receiver session never waits: every pause
// of the link (send spacing, the break sequence, reconnect attempts) is a step
// scheduled here, so many sessions share one thread and none holds up another.
// QtScheduler runs the steps from the event loop on the wall clock;
// VirtualScheduler runs them on virtual time for tests and benchmarks.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "link/clock.h"

namespace halvix::session {

class Scheduler {
 public:
  using Task = std::function<void()>;
  using TaskId = std::uint64_t;

  explicit Scheduler(link::Clock& clock) : clock_(clock) {}
  virtual ~Scheduler() = default;
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  link::Clock& clock() { return clock_; }
  std::int64_t nowMs() const { return clock_.nowMs(); }

  // Runs task once, delayMs from now (0: after the step now running). Tasks
  // due at the same time run in the order they were scheduled.
  TaskId after(std::int64_t delayMs, Task task);
  // Forgets a task that has not run; unknown or finished ids are ignored.
  void cancel(TaskId id);
  // Runs every task due by now. Returns how many ran.
  int runDue();
  std::optional<std::int64_t> nextDueMs() const;
  std::size_t pending() const { return tasks_.size(); }

 protected:
  // The earliest due time may have changed.
  virtual void wake() {}

 private:
  using Key = std::pair<std::int64_t, TaskId>;
  link::Clock& clock_;
  std::map<Key, Task> tasks_;
  std::unordered_map<TaskId, std::int64_t> dueOf_;
  TaskId nextId_ = 1;
};

// Virtual time: advance() moves the clock from one due task to the next.
class VirtualScheduler final : public Scheduler {
 public:
  explicit VirtualScheduler(std::int64_t startMs = 0) : Scheduler(own_), own_(startMs) {}
  // On the caller's clock, whose sleepMs moves its time on at once on this
  // thread (a test clock that other threads' waits follow).
  explicit VirtualScheduler(link::Clock& clock) : Scheduler(clock) {}
  // The scheduler's own clock (unused when it runs on the caller's).
  link::VirtualClock& virtualClock() { return own_; }
  // Runs everything due in the next ms milliseconds, each task at its own time.
  void advance(std::int64_t ms);

 private:
  link::VirtualClock own_;
};

// The wall clock, driven by one Qt timer for all tasks.
class QtScheduler final : public QObject, public Scheduler {
 public:
  explicit QtScheduler(link::Clock& clock, QObject* parent = nullptr);

 protected:
  void wake() override;

 private:
  QTimer timer_;
};

}  // namespace halvix::session
