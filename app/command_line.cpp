#include "app/command_line.h"

#include <cstdio>

namespace halvix::app {

namespace {

bool isLongOption(const QString& a) { return a.startsWith(QLatin1String("--")); }

// "%d" read from the third character on: leading blanks, optional sign, digits.
int readDecimal(const QString& text) {
  int value = 0;
  const QByteArray bytes = text.toLatin1();
  if (std::sscanf(bytes.constData(), "%d", &value) != 1) return 0;
  return value;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& args) {
  CommandLine cl;
  for (const QString& a : args) {
    if (a == QLatin1String("--help")) {
      cl.help = true;
    } else if (a == QLatin1String("--version")) {
      cl.version = true;
    } else if (a.startsWith(QLatin1String("--port="))) {
      cl.portPath = a.mid(7);
    } else if (a == QLatin1String("--simulate")) {
      cl.simulate = true;
    } else if (a.startsWith(QLatin1String("--simulate="))) {
      cl.simulate = true;
      cl.simPersona = a.mid(11);
    } else if (isLongOption(a)) {
      cl.unknown << a;
    }
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
      cl.comPort = readDecimal(a.mid(2));
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
      "  --simulate[=TYPE]  attach the built-in simulated receiver; TYPE is one of\n"
      "                     corvel, norden, pellam, cvl2, brisel (default corvel)\n"
      "  --help             show this text and exit\n"
      "  --version          show the version and exit\n"
      "\n"
      "Without a port option Halvix asks for a COM port.\n");
}

}  // namespace halvix::app
