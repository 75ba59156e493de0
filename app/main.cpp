// Halvix program entry.
#include <QApplication>
#include <cstdio>

#include "app/comm_dialog.h"
#include "app/program.h"
#include "app/widget_prompts.h"
#include "link/clock.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Halvix"));
  QApplication::setApplicationVersion(QStringLiteral(HALVIX_VERSION));

  QStringList args = QApplication::arguments();
  args.removeFirst();
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
  if (!cl.unknown.isEmpty()) return 2;

  halvix::link::SystemClock clock;
  halvix::app::WidgetPrompts prompts;
  halvix::app::Program program(halvix::app::ProgramSeams{
      prompts, clock, [] { return halvix::app::RunPortChoiceDialog(); }, &halvix::app::MakeDevice});
  if (!program.start(args)) return 0;
  return QApplication::exec();
}
