// Reads Halvix's command line: the -d and -c<n> switches as the receiver tools
// have always read them, plus the long options for any device path, the
// built-in simulated receiver, help and version.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace halvix::app {

struct CommandLine {
  bool developerMode = false;
  std::optional<int> comPort;  // set by a 'c' switch, 0 when no number follows it
  QString portPath;            // --port=PATH, or a serial server's rfc2217:// or tcp:// address
  bool simulate = false;       // --simulate[=persona]
  QString simPersona;
  QString replayFile;         // --replay=FILE: play a QLIP recording back
  double replaySpeed = 1.0;   // --speed=X with it
  bool help = false;
  bool version = false;
  QStringList unknown;  // long options not understood
  // Options understood but unusable (a COM number out of range, an unknown
  // simulated type, an empty path), each a sentence for the operator.
  QStringList errors;

  // A port (COM number, path or simulator) was named, so no port dialog is needed.
  bool namesPort() const {
    return comPort.has_value() || !portPath.isEmpty() || simulate || !replayFile.isEmpty();
  }
};

// COM numbers a -c switch may name.
inline constexpr int kMinComPort = 1;
inline constexpr int kMaxComPort = 255;

// The speeds a replay runs at.
inline constexpr double kMinReplaySpeed = 0.25;
inline constexpr double kMaxReplaySpeed = 100.0;

// args excludes the program name.
CommandLine ParseCommandLine(const QStringList& args);

QString UsageText();

}  // namespace halvix::app
