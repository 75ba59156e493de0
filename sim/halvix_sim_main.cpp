// halvix-sim: serves the simulated receiver on a pseudo-terminal or a device path.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <csignal>
#include <cstdio>

#include "link/clock.h"
#include "sim/persona.h"
#include "sim/pty_endpoint.h"
#include "sim/receiver_model.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"
#include "recording/replay_device.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

extern "C" void OnSignal(int) { gStop = 1; }

QString Usage() {
  return QStringLiteral(
             "Usage: halvix-sim [--persona=NAME] [--device=PATH] [--link=PATH] [--speed=FACTOR]\n"
             "                  [--seed=N] [--fault=FAULT]... [--help]\n"
             "       halvix-sim --replay=FILE.qlp [--speed=X] [--device=PATH] [--link=PATH]\n"
             "\n"
             "Serves a simulated GPS timing receiver speaking QLIP. Without --device it opens\n"
             "a pseudo-terminal and prints its path as the first line on standard output;\n"
             "point Halvix at it with --port=PATH. It runs until interrupted.\n"
             "\n"
             "  --persona=NAME   receiver type: %1 (default corvel)\n"
             "  --device=PATH    serve on this serial device instead of a pseudo-terminal\n"
             "  --link=PATH      keep a symbolic link PATH to the pseudo-terminal, so a\n"
             "                   restarted simulator is found at the same path\n"
             "  --speed=FACTOR   satellites, survey and data collection run FACTOR times\n"
             "                   faster (time and the once-a-second output do not)\n"
             "  --seed=N         seed of the receiver's noise and sky (default 1)\n"
             "  --fault=FAULT    a fault to show; may be repeated:\n%2"
             "  --replay=FILE    serve a QLIP recording instead, paced by the GPS time it\n"
             "                   carries; --speed=X then plays it X times faster (0.25 to 100)\n"
             "  --help           this text\n")
      .arg(halvix::sim::PersonaNames().join(QStringLiteral(", ")), halvix::sim::FaultHelp());
}

// Points linkPath at target, replacing an older link in one step.
bool PointLink(const QString& linkPath, const QString& target, QString* error) {
  const QString temporary = linkPath + QStringLiteral(".new");
  QFile::remove(temporary);
  if (!QFile::link(target, temporary)) {
    *error = QStringLiteral("cannot create the link %1").arg(temporary);
    return false;
  }
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(linkPath).constData()) != 0) {
    QFile::remove(temporary);
    *error = QStringLiteral("cannot replace %1").arg(linkPath);
    return false;
  }
  return true;
}

int Fail(const QString& text) {
  std::fprintf(stderr, "halvix-sim: %s\n", qPrintable(text));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  halvix::sim::SimOptions options;
  QString device;
  QString linkPath;
  QString replayFile;
  const QStringList args = QCoreApplication::arguments().mid(1);
  for (const QString& a : args) {
    const QString value = a.section(QLatin1Char('='), 1);
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      std::fputs(qPrintable(Usage()), stdout);
      return 0;
    } else if (a.startsWith(QLatin1String("--persona="))) {
      if (halvix::sim::FindPersona(value) == nullptr) return Fail(QStringLiteral("unknown persona '%1'").arg(value));
      options.persona = value.toLower();
    } else if (a.startsWith(QLatin1String("--device="))) {
      device = value;
    } else if (a.startsWith(QLatin1String("--link=")) || a.startsWith(QLatin1String("--replay="))) {
      // Both name a file, so neither may be empty.
      const bool link = a.startsWith(QLatin1String("--link="));
      (link ? linkPath : replayFile) = value;
      if (value.isEmpty()) {
        return Fail(link ? QStringLiteral("--link= needs a path")
                         : QStringLiteral("--replay= needs a recording file"));
      }
    } else if (a.startsWith(QLatin1String("--speed="))) {
      bool ok = false;
      options.speed = value.toDouble(&ok);
      if (!ok || !(options.speed > 0.0) || options.speed > 10000.0)
        return Fail(QStringLiteral("speed must be a number above 0 and at most 10000"));
    } else if (a.startsWith(QLatin1String("--seed="))) {
      bool ok = false;
      options.seed = value.toULongLong(&ok);
      if (!ok) return Fail(QStringLiteral("seed must be a whole number"));
    } else if (a.startsWith(QLatin1String("--fault="))) {
      QString error;
      if (!halvix::sim::ParseFault(value, options.faults, &error)) return Fail(error);
    } else {
      return Fail(QStringLiteral("unknown argument '%1' (see --help)").arg(a));
    }
  }

  const double kMinReplay = halvix::recording::ReplayDevice::kMinSpeed;
  const double kMaxReplay = halvix::recording::ReplayDevice::kMaxSpeed;
  if (!replayFile.isEmpty() && (options.speed < kMinReplay || options.speed > kMaxReplay)) {
    return Fail(QStringLiteral("a replay speed must be from %1 to %2").arg(kMinReplay).arg(kMaxReplay));
  }
  halvix::link::SystemClock replayClock;
  halvix::recording::ReplayDevice replay(replayClock, options.speed);
  // The recording is checked before a pseudo-terminal is offered.
  if (!replayFile.isEmpty() && !replay.open(replayFile)) {
    return Fail(QStringLiteral("cannot read %1: %2").arg(replayFile, replay.error()));
  }

  QString error;
  std::unique_ptr<halvix::sim::SimEndpoint> endpoint =
      device.isEmpty() ? halvix::sim::OpenPtyEndpoint(&error) : halvix::sim::OpenSerialEndpoint(device, &error);
  if (!endpoint) return Fail(QStringLiteral("cannot open %1: %2").arg(device.isEmpty() ? QStringLiteral("a pseudo-terminal") : device, error));

  if (!linkPath.isEmpty()) {
    if (!device.isEmpty()) return Fail(QStringLiteral("--link goes with a pseudo-terminal, not --device"));
    if (!PointLink(linkPath, endpoint->name(), &error)) return Fail(error);
  }

  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);

  if (!replayFile.isEmpty()) {
    std::printf("%s\n", qPrintable(endpoint->name()));
    std::fflush(stdout);
    std::fprintf(stderr, "halvix-sim: replaying %s (%s) at %gx on %s\n", qPrintable(replayFile),
                 qPrintable(halvix::recording::FormatReplayClock(replay.durationSeconds())), replay.speed(),
                 qPrintable(endpoint->name()));
    const int rc = halvix::sim::ServeRecording(replay, *endpoint, [] { return gStop != 0; });
    if (rc != 0) return Fail(QStringLiteral("the line to %1 failed").arg(endpoint->name()));
    return 0;
  }

  halvix::link::SystemClock clock;
  options.startGpsMs = halvix::sim::GpsMsFromSystemClock();
  halvix::sim::ReceiverModel model(options, clock.nowMs());
  std::printf("%s\n", qPrintable(endpoint->name()));
  std::fflush(stdout);
  std::fprintf(stderr, "halvix-sim: %s receiver on %s\n", qPrintable(options.persona), qPrintable(endpoint->name()));
  halvix::sim::SimServer server(model, *endpoint, clock);
  const int rc = server.run([] { return gStop != 0; });
  if (rc != 0) return Fail(QStringLiteral("the line to %1 failed").arg(endpoint->name()));
  return 0;
}
