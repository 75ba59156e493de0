#include "tests/process/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace halvix::testing {

namespace {

void makeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
}

QByteArray readFd(int fd, int timeoutMs) {
  QByteArray out;
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) return out;
  char buf[4096];
  const ssize_t n = ::read(fd, buf, sizeof buf);
  if (n > 0) out.append(buf, static_cast<qsizetype>(n));
  return out;
}

bool writeFd(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return;
  // Programs the test starts must not inherit the master: closing it has to
  // reach the peer as a hang-up.
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    ::close(master_);
    master_ = -1;
    return;
  }
  slavePath_ = QString::fromLocal8Bit(ptsname(master_));
  makeRaw(master_);
  // Holding the slave open keeps the master readable between the peer's opens.
  slaveKeepAlive_ = ::open(slavePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slaveKeepAlive_ >= 0) makeRaw(slaveKeepAlive_);
}

PseudoTerminal::~PseudoTerminal() {
  if (slaveKeepAlive_ >= 0) ::close(slaveKeepAlive_);
  if (master_ >= 0) ::close(master_);
}

QByteArray PseudoTerminal::read(int timeoutMs) { return readFd(master_, timeoutMs); }

bool PseudoTerminal::write(const QByteArray& bytes) { return writeFd(master_, bytes); }

SlaveEnd::SlaveEnd(const QString& path) {
  fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd_ >= 0) makeRaw(fd_);
}

SlaveEnd::~SlaveEnd() {
  if (fd_ >= 0) ::close(fd_);
}

QByteArray SlaveEnd::read(int timeoutMs) { return readFd(fd_, timeoutMs); }

bool SlaveEnd::write(const QByteArray& bytes) { return writeFd(fd_, bytes); }

}  // namespace halvix::testing
