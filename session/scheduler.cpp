#include "session/scheduler.h"

#include <algorithm>

namespace halvix::session {

Scheduler::TaskId Scheduler::after(std::int64_t delayMs, Task task) {
  const TaskId id = nextId_++;
  const std::int64_t due = clock_.nowMs() + std::max<std::int64_t>(0, delayMs);
  tasks_.emplace(Key{due, id}, std::move(task));
  dueOf_.emplace(id, due);
  wake();
  return id;
}

void Scheduler::cancel(TaskId id) {
  const auto it = dueOf_.find(id);
  if (it == dueOf_.end()) return;
  tasks_.erase(Key{it->second, id});
  dueOf_.erase(it);
}

int Scheduler::runDue() {
  const std::int64_t now = clock_.nowMs();
  int ran = 0;
  // Tasks scheduled by a running task for now run in this pass as well, after it.
  while (!tasks_.empty() && tasks_.begin()->first.first <= now) {
    auto node = tasks_.extract(tasks_.begin());
    dueOf_.erase(node.key().second);
    node.mapped()();
    ++ran;
  }
  return ran;
}

std::optional<std::int64_t> Scheduler::nextDueMs() const {
  if (tasks_.empty()) return std::nullopt;
  return tasks_.begin()->first.first;
}

void VirtualScheduler::advance(std::int64_t ms) {
  link::Clock& c = clock();
  const std::int64_t end = c.nowMs() + std::max<std::int64_t>(0, ms);
  for (;;) {
    const auto next = nextDueMs();
    if (!next || *next > end) break;
    if (*next > c.nowMs()) c.sleepMs(*next - c.nowMs());
    runDue();
  }
  if (end > c.nowMs()) c.sleepMs(end - c.nowMs());
}

QtScheduler::QtScheduler(link::Clock& clock, QObject* parent) : QObject(parent), Scheduler(clock) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    runDue();
    wake();
  });
}

void QtScheduler::wake() {
  // Armed even while tasks run: a task that opens a modal box runs a nested
  // event loop, and the steps due meanwhile (a reconnect) must run inside it.
  const auto next = nextDueMs();
  if (!next) {
    timer_.stop();
    return;
  }
  const std::int64_t wait = std::max<std::int64_t>(0, *next - nowMs());
  timer_.start(static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000)));
}

}  // namespace halvix::session
