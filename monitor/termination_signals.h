// SIGTERM and SIGINT end the event loop cleanly: the handler only writes to a
// pipe, and the loop reads it and quits, so recordings close as usual.
#pragma once

namespace halvix::monitor {

// Installs the handlers; a signal then calls QCoreApplication::quit(). False when they cannot be installed.
bool QuitOnTerminationSignals();

}  // namespace halvix::monitor
