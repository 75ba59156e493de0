// Makes the manual's pictures: Halvix on the simulated receiver, on virtual
// time, with every window and dialog opened from its menu item as an operator
// would, left to fill from the receiver, and grabbed to docs/images/<name>.png.
// Run by scripts/manual-screenshots.sh under Xvfb, so the fonts are a desktop's.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/program.h"
#include "docs/unattended_seams.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "link/clock.h"
#include "session/scheduler.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"

using namespace halvix;

namespace {

// A start time with twelve satellites above the antenna's horizon.
constexpr std::int64_t kStartGpsMs = (2448LL * 604'800 + 176'870) * 1000;

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/images");
  const QString persona = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("corvel");
  QDir().mkpath(out);

  session::VirtualScheduler scheduler{0};
  docs::QuietPrompts prompts(true);
  docs::PollingSettings settings;
  platform::FixedPcClock pcClock;
  app::Program program(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<app::PortDialogChoice>(); },
      [](const app::PortChoice& port, link::Clock& c) {
        sim::SimOptions options;
        options.persona = port.persona;
        options.startGpsMs = kStartGpsMs;
        options.speed = 20;  // the self-survey and the almanac come along
        return sim::CreateSimulatedDevice(options, c);
      },
      &pcClock, &settings});
  if (!program.start({QStringLiteral("-d"), QStringLiteral("--simulate=") + persona})) return 1;
  app::TForm_Main& main = *program.mainWindow();
  // The session's steps on virtual time, the event loop between them.
  const auto run = [&](int seconds) {
    for (int i = 0; i < seconds * 5; ++i) {
      scheduler.advance(200);
      QCoreApplication::processEvents();
    }
  };
  const auto save = [&](QWidget* w, const QString& name) {
    w->raise();
    QCoreApplication::processEvents();
    const bool ok = w->grab().save(out + QLatin1Char('/') + name + QStringLiteral(".png"));
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(name));
    return ok;
  };

  run(90);
  bool ok = save(&main, QStringLiteral("main-") + persona);
  // The Brisel's own items; every other window comes from the Corvel run.
  const bool brisel = persona == QStringLiteral("brisel");
  const QStringList kBriselItems = {QStringLiteral("SetupPortAOutput"), QStringLiteral("SetupBriselSelfSurvey")};

  // Every item that opens a window, in menu order; the picture is named after the item.
  std::vector<QAction*> items;
  std::function<void(QMenu*)> collect = [&](QMenu* m) {
    for (QAction* a : m->actions()) {
      if (a->menu() != nullptr) collect(a->menu());
      else if (!a->isSeparator() && a->isVisible()) items.push_back(a);
    }
  };
  for (QAction* top : main.menu.MainMenu_Main->actions()) collect(top->menu());
  for (QAction* item : items) {
    const QWidgetList before = QApplication::topLevelWidgets();
    QMap<QWidget*, bool> wasVisible;
    for (QWidget* w : before) wasVisible[w] = w->isVisible();
    const QString name = item->objectName();
    // Only items that open a window: resets, transfers and switches are left alone.
    static const QStringList kLeftAlone = {
        QStringLiteral("ControlCold"), QStringLiteral("ControlWarm"), QStringLiteral("ControlSelfSurvey"),
        QStringLiteral("ControlUploadAlmanac"), QStringLiteral("ControlDownloadAlmanac"),
        QStringLiteral("ControlDownloadPos"), QStringLiteral("ControlTimeToPC"),
        QStringLiteral("ControlPollingTimingPkts"), QStringLiteral("SetupSaveAllSegments"),
        QStringLiteral("SetupDefaultAllSegments"), QStringLiteral("HelpHelp"),
        // A few seconds of charts show nothing; its picture is six hours from bench_charts --snapshots.
        QStringLiteral("WindowCharts")};
    if (kLeftAlone.contains(name) || name.startsWith(QStringLiteral("FactoryReset")) ||
        name.startsWith(QStringLiteral("RecType")) || brisel != kBriselItems.contains(name)) {
      continue;
    }
    item->trigger();
    run(4);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w == &main || !w->isVisible() || wasVisible.value(w, false)) continue;
      ok = save(w, name) && ok;
      w->hide();
    }
  }
  return ok ? 0 : 1;
}
