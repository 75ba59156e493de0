#include "monitor/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace halvix::monitor {

namespace {

int gPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
  const char c = 1;
  // Async-signal-safe: one byte into the pipe; a full pipe already holds a request.
  [[maybe_unused]] const auto n = ::write(gPipe[1], &c, 1);
}

}  // namespace

bool QuitOnTerminationSignals() {
  if (gPipe[0] >= 0) return true;
  if (::pipe(gPipe) != 0) return false;
  for (int fd : gPipe) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  auto* notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char buffer[16];
    while (::read(gPipe[0], buffer, sizeof buffer) > 0) {
    }
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

}  // namespace halvix::monitor
