// Which device Halvix opens and how the port is named on screen: a numbered
// COM port, any device path, or the built-in simulated receiver.
#pragma once

#include <QString>

#include "app/command_line.h"

namespace halvix::app {

struct PortChoice {
  int comPort = 0;       // COM number; 0 for a path or the simulator
  QString deviceName;    // what the serial device opens
  QString panelLabel;    // "COM3" in "COM3 9600, 8-None-1"
  QString titlePrefix;   // "3" in the task-bar title "3 Halvix"
  bool numbered = false;  // a COM port chosen by number (not a path or the simulator)
  bool network = false;   // a serial server: rfc2217://HOST:PORT or tcp://HOST:PORT
  bool simulated = false;
  QString persona;       // simulated receiver type
  bool replay = false;   // deviceName is a recording to play back
  double replaySpeed = 1.0;
};

// What the port choice dialog chose: a COM number, or the path of a port
// the system listed.
struct PortDialogChoice {
  int comPort = 0;
  QString path;  // set for a detected port; comPort is then 0

  PortDialogChoice(int com) : comPort(com) {}  // NOLINT: a COM number is a choice
  static PortDialogChoice Path(const QString& p) {
    PortDialogChoice c(0);
    c.path = p;
    return c;
  }
  bool operator==(const PortDialogChoice&) const = default;
};

PortChoice PortChoiceForCom(int comPort);
// Any device path, labelled by its name under /dev ("ttyUSB0", "pts/3"), or a
// serial server's address, labelled "HOST:PORT".
PortChoice PortChoiceForPath(const QString& path);
// From a command line that names a port (CommandLine::namesPort()).
PortChoice PortChoiceFromCommandLine(const CommandLine& cl);

}  // namespace halvix::app
