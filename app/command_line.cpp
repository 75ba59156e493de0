#include "app/command_line.h"

#include <cstdint>
#include <cstdio>

#include "link/network_port.h"
#include "sim/persona.h"

namespace halvix::app {

namespace {

bool isLongOption(const QString& a) { return a.startsWith(QLatin1String("--")); }

// A -c switch's number, read as "%d" reads it from the third character on:
// leading blanks, optional sign, digits. The digits are read wide and checked,
// so a huge number can never wrap round to a real port.
struct ComNumber {
  bool digits = false;  // no digits: the classic switch leaves port 0
  bool inRange = false;
  int value = 0;
};

ComNumber readComNumber(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  const char* p = bytes.constData();
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  ComNumber n;
  std::int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    n.digits = true;
    if (value <= kMaxComPort) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  n.inRange = n.digits && value >= kMinComPort && value <= kMaxComPort;
  if (n.inRange) n.value = static_cast<int>(value);
  return n;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& args) {
  CommandLine cl;
  bool speedGiven = false;
  for (const QString& a : args) {
    if (a == QLatin1String("--help")) {
      cl.help = true;
    } else if (a == QLatin1String("--version")) {
      cl.version = true;
    } else if (a.startsWith(QLatin1String("--port="))) {
      cl.portPath = a.mid(7);
      QString why;
      if (cl.portPath.isEmpty()) {
        cl.errors << QStringLiteral("--port= needs a device path, e.g. --port=/dev/ttyUSB0");
      } else if (link::IsNetworkPortName(cl.portPath) && !link::parseNetworkPort(cl.portPath, &why)) {
        cl.errors << why;
      }
    } else if (a == QLatin1String("--simulate")) {
      cl.simulate = true;
    } else if (a.startsWith(QLatin1String("--simulate="))) {
      cl.simulate = true;
      cl.simPersona = a.mid(11);
      if (sim::FindPersona(cl.simPersona) == nullptr) {
        cl.errors << QStringLiteral("unknown simulated receiver type '%1'; choose one of %2")
                         .arg(cl.simPersona, sim::PersonaNames().join(QStringLiteral(", ")));
      }
    } else if (a.startsWith(QLatin1String("--replay="))) {
      cl.replayFile = a.mid(9);
      if (cl.replayFile.isEmpty()) {
        cl.errors << QStringLiteral("--replay= needs a recording, e.g. --replay=run.qlp");
      }
    } else if (a.startsWith(QLatin1String("--speed="))) {
      speedGiven = true;
      bool ok = false;
      cl.replaySpeed = a.mid(8).toDouble(&ok);
      if (!ok || !(cl.replaySpeed >= kMinReplaySpeed && cl.replaySpeed <= kMaxReplaySpeed)) {
        cl.errors << QStringLiteral("%1: the replay speed must be a number from %2 to %3")
                         .arg(a).arg(kMinReplaySpeed).arg(kMaxReplaySpeed);
        cl.replaySpeed = 1.0;
      }
    } else if (isLongOption(a)) {
      cl.unknown << a;
    }
  }
  if (speedGiven && cl.replayFile.isEmpty()) {
    cl.errors << QStringLiteral("--speed goes with --replay=FILE");
  }
  if (!cl.replayFile.isEmpty() && (cl.simulate || !cl.portPath.isEmpty())) {
    cl.errors << QStringLiteral("--replay plays a recording instead of a port; leave out --port and --simulate");
  }
  // The classic switches look only at the second character, so -d and /d both work.
  for (const QString& a : args) {
    if (isLongOption(a)) continue;
    if (a.size() >= 2 && a.at(1) == QLatin1Char('d')) {
      cl.developerMode = true;
      break;
    }
  }
  for (const QString& a : args) {
    if (isLongOption(a)) continue;
    if (a.size() >= 2 && a.at(1) == QLatin1Char('c')) {
      const ComNumber n = readComNumber(a.mid(2));
      // No number at all keeps the classic meaning: port 0, whose open fails.
      if (!n.digits || n.inRange) {
        cl.comPort = n.value;
      } else {
        cl.errors << QStringLiteral("%1: the COM port number must be %2 to %3")
                         .arg(a).arg(kMinComPort).arg(kMaxComPort);
      }
      break;
    }
  }
  return cl;
}

QString UsageText() {
  return QStringLiteral(
      "Usage: halvix [options]\n"
      "Monitor and configure an Orvane GPS timing receiver over a serial port.\n"
      "\n"
      "  -c<n>              use COM port n (/dev/ttyS<n-1> on Linux), e.g. -c3\n"
      "  -d                 developer mode (diagnostics window and commands)\n"
      "  --port=PATH        use any serial device path, e.g. --port=/dev/ttyUSB0\n"
      "  --port=rfc2217://HOST:PORT\n"
      "                     a receiver behind a serial server speaking RFC 2217\n"
      "  --port=tcp://HOST:PORT\n"
      "                     a receiver behind a raw TCP serial server\n"
      "  --simulate[=TYPE]  attach the built-in simulated receiver; TYPE is one of\n"
      "                     corvel, norden, pellam, cvl2, brisel (default corvel)\n"
      "  --replay=FILE      play a QLIP recording back instead of a receiver\n"
      "  --speed=X          replay X times faster, 0.25 to 100 (default 1)\n"
      "  --help             show this text and exit\n"
      "  --version          show the version and exit\n"
      "\n"
      "Without a port option Halvix asks for a COM port.\n");
}

}  // namespace halvix::app
