// halvix-sim started as a real program (HALVIX_SIM_PATH, defined by the test
// target): it prints the pseudo-terminal it serves as its first line.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace halvix::testing {

// Starts halvix-sim in process and returns the path it printed, or an empty
// string when it did not start or said nothing within 5 s.
inline QString StartSimProgram(QProcess& process, const QStringList& args = {}) {
  process.start(QStringLiteral(HALVIX_SIM_PATH), args);
  if (!process.waitForStarted(5000)) return {};
  QElapsedTimer t;
  t.start();
  while (!process.canReadLine() && t.elapsed() < 5000) process.waitForReadyRead(200);
  return QString::fromLocal8Bit(process.readLine()).trimmed();
}

}  // namespace halvix::testing
