// Resident memory of Halvix over a long run: the whole program on the
// simulated receiver, on virtual time, with the line cut and restored and the
// device vanishing and returning every hour. Prints resident memory after a
// warm-up hour and after each further block of hours; the growth after
// warm-up should stay under 1 MB.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/program.h"
#include "docs/unattended_seams.h"
#include "platform/system_clock.h"
#include "link/clock.h"
#include "link/forwarding_device.h"
#include "session/scheduler.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"

using namespace halvix;

namespace {

// The simulated receiver behind a plug the run can pull.
class Plug final : public link::ForwardingDevice {
 public:
  using ForwardingDevice::ForwardingDevice;
  bool pulled = false;
  bool open(const QString& n) override { return !pulled && ForwardingDevice::open(n); }
  std::int64_t bytesWaiting() override { return pulled ? -1 : ForwardingDevice::bytesWaiting(); }
  std::int64_t read(std::uint8_t* b, std::int64_t m) override { return pulled ? -1 : ForwardingDevice::read(b, m); }
  std::int64_t write(const std::uint8_t* d, std::int64_t s) override {
    return pulled ? -1 : ForwardingDevice::write(d, s);
  }
};

double ResidentMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication application(argc, argv);
  const int hours = argc > 1 ? std::max(2, std::atoi(argv[1])) : 7;
  session::VirtualScheduler scheduler{0};
  docs::QuietPrompts prompts(false);
  docs::PollingSettings settings;
  platform::FixedPcClock pcClock;
  Plug* plug = nullptr;
  app::Program program(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<app::PortDialogChoice>(); },
      [&plug](const app::PortChoice&, link::Clock& c) {
        sim::SimOptions options;
        options.faults.badLengthEvery = 97;
        auto d = std::make_unique<Plug>(sim::CreateSimulatedDevice(options, c));
        plug = d.get();
        return d;
      },
      &pcClock, &settings});
  if (!program.start({QStringLiteral("--simulate")})) return 1;
  // The session's steps on virtual time, posted events between them.
  const auto run = [&](int seconds, int stepMs) {
    for (int i = 0; i < seconds * 1000 / stepMs; ++i) {
      scheduler.advance(stepMs);
      QCoreApplication::sendPostedEvents();
    }
  };
  const auto hour = [&] {
    plug->pulled = true;
    run(20, 200);
    plug->pulled = false;
    run(60, 200);
    run(3600 - 80, 1000);
  };
  hour();
  const double warm = ResidentMb();
  std::printf("resident memory after a warm-up hour: %.1f MB\n", warm);
  for (int h = 2; h <= hours; ++h) {
    hour();
    std::printf("after %d virtual hours: %.1f MB (%+.2f MB since warm-up)\n", h, ResidentMb(),
                ResidentMb() - warm);
  }
  return 0;
}
