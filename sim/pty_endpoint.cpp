#include "sim/pty_endpoint.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#endif

namespace halvix::sim {

#ifdef Q_OS_UNIX
namespace {

class PtyEndpoint final : public SimEndpoint {
 public:
  PtyEndpoint(int master, int slave, QString path) : master_(master), slave_(slave), path_(std::move(path)) {}
  ~PtyEndpoint() override {
    ::close(slave_);
    ::close(master_);
  }
  PtyEndpoint(const PtyEndpoint&) = delete;
  PtyEndpoint& operator=(const PtyEndpoint&) = delete;

  QString name() const override { return path_; }

  std::optional<Bytes> readSome(int timeoutMs) override {
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready < 0) return errno == EINTR ? std::optional<Bytes>(Bytes{}) : std::nullopt;
    if (ready == 0 || (p.revents & POLLIN) == 0) return Bytes{};
    std::uint8_t buf[4096];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n < 0) return errno == EAGAIN || errno == EINTR || errno == EIO ? std::optional<Bytes>(Bytes{}) : std::nullopt;
    return Bytes(buf, buf + n);
  }

  bool writeAll(const Bytes& bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      // Nobody is reading the other end: the rest is lost, as on an unplugged line.
      return n >= 0 || errno == EAGAIN || errno == EIO;
    }
    return true;
  }

 private:
  int master_;
  int slave_;
  QString path_;
};

}  // namespace

std::unique_ptr<SimEndpoint> OpenPtyEndpoint(QString* error) {
  auto fail = [error](const char* what) -> std::unique_ptr<SimEndpoint> {
    if (error != nullptr) *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
    return nullptr;
  };
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) return fail("posix_openpt");
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    ::close(master);
    return fail("grantpt");
  }
  const char* name = ::ptsname(master);
  if (name == nullptr) {
    ::close(master);
    return fail("ptsname");
  }
  const QString path = QString::fromLocal8Bit(name);
  // Holding the slave open keeps the master usable while no client is
  // attached, and raw mode keeps the line free of echo and newline mangling
  // until the client sets its own modes.
  const int slave = ::open(name, O_RDWR | O_NOCTTY);
  if (slave < 0) {
    ::close(master);
    return fail("open slave");
  }
  termios t{};
  if (::tcgetattr(slave, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  return std::make_unique<PtyEndpoint>(master, slave, path);
}

#else

std::unique_ptr<SimEndpoint> OpenPtyEndpoint(QString* error) {
  if (error != nullptr) *error = QStringLiteral("pseudo-terminals are not available here; use --device=PATH");
  return nullptr;
}

#endif

}  // namespace halvix::sim
