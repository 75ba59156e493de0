#include "monitor/termination_signals.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <windows.h>

namespace halvix::monitor {

namespace {

BOOL WINAPI OnConsoleEvent(DWORD) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
  return TRUE;
}

}  // namespace

bool QuitOnTerminationSignals() { return SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0; }

}  // namespace halvix::monitor
