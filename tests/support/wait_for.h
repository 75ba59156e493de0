// A bounded wait for something a real socket or process delivers: the event
// loop runs until the condition holds. Never asserts on the time taken.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace halvix::testing {

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

}  // namespace halvix::testing
