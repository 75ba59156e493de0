// Halvix program entry.
#include <QApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <exception>

#include "app/comm_dialog.h"
#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "widgets/widget_prompts.h"
#include "widgets/accessibility.h"
#include "link/clock.h"
#include "session/scheduler.h"

namespace {

volatile std::sig_atomic_t terminationRequested = 0;

extern "C" void requestTermination(int) { terminationRequested = 1; }

QStringList argumentsOf(int argc, char* argv[]) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return args;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Help and version need no display, so they are answered before Qt starts.
  const QStringList args = argumentsOf(argc, argv);
  const halvix::app::CommandLine cl = halvix::app::ParseCommandLine(args);
  if (cl.help) {
    std::fputs(halvix::app::UsageText().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (cl.version) {
    std::printf("halvix %s\n", HALVIX_VERSION);
    return 0;
  }
  for (const QString& unknown : cl.unknown) {
    std::fprintf(stderr, "halvix: unknown option %s (see --help)\n", unknown.toLocal8Bit().constData());
  }
  for (const QString& error : cl.errors) {
    std::fprintf(stderr, "halvix: %s\n", error.toLocal8Bit().constData());
  }
  if (!cl.unknown.isEmpty() || !cl.errors.isEmpty()) return 2;

  QApplication application(argc, argv);
  // Before any window can be asked what it shows (the port dialog's lists too).
  halvix::widgets::EnsureAccessibility();
  QApplication::setApplicationName(QStringLiteral("Halvix"));
  QApplication::setApplicationVersion(QStringLiteral(HALVIX_VERSION));

  halvix::link::SystemClock clock;
  halvix::session::QtScheduler scheduler(clock);
  halvix::widgets::WidgetPrompts prompts;
  halvix::platform::HostPcClock pcClock;
  halvix::app::Program program(halvix::app::ProgramSeams{
      prompts, scheduler, [] { return halvix::app::RunPortChoiceDialog(); }, &halvix::app::MakeDevice,
      &pcClock});
  try {
    if (!program.start(args)) return 0;
    prompts.setParent(program.mainWindow());
    // The run lasts until the main window closes, whatever else is open.
    QObject::connect(program.mainWindow(), &halvix::app::TForm_Main::closed, &application,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    // A termination signal closes the main window the normal way, so the port
    // is purged and closed and the recording file flushed.
    std::signal(SIGTERM, requestTermination);
    std::signal(SIGINT, requestTermination);
    QTimer terminationWatch;
    QObject::connect(&terminationWatch, &QTimer::timeout, [&program] {
      if (terminationRequested && program.mainWindow() != nullptr) program.mainWindow()->close();
    });
    terminationWatch.start(100);
    return QApplication::exec();
  } catch (const std::exception& e) {
    prompts.message(QStringLiteral("Halvix"), QString::fromLocal8Bit(e.what()),
                    halvix::platform::PromptButtons::Ok, halvix::platform::PromptIcon::Error);
    return 1;
  }
}
