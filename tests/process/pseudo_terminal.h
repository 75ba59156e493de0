// The master side of a pseudo-terminal for process tests: a program under
// test opens the slave path as its serial port, the test reads and writes
// the master.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace halvix::testing {

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool ok() const { return master_ >= 0; }
  QString slavePath() const { return slavePath_; }
  // Waits at most timeoutMs for bytes and returns what arrived (possibly nothing).
  QByteArray read(int timeoutMs);
  bool write(const QByteArray& bytes);

 private:
  int master_ = -1;
  int slaveKeepAlive_ = -1;
  QString slavePath_;
};

// A slave path opened by the test itself, e.g. to talk to a program that
// serves the master side.
class SlaveEnd {
 public:
  explicit SlaveEnd(const QString& path);
  ~SlaveEnd();
  SlaveEnd(const SlaveEnd&) = delete;
  SlaveEnd& operator=(const SlaveEnd&) = delete;
  bool ok() const { return fd_ >= 0; }
  QByteArray read(int timeoutMs);
  bool write(const QByteArray& bytes);

 private:
  int fd_ = -1;
};

}  // namespace halvix::testing
