// Cost of the Charts window with a full day of history: one redraw of the
// time series at 1280 px of plot width (decimation, series update and
// painting), the live stability update per sample (ADEV, MDEV, TDEV and HDEV
// with their intervals), and the full stability table from scratch (noise
// identification, degrees of freedom and intervals included) for comparison. With --snapshots DIR [hours] it instead runs Halvix
// on the simulated receiver on virtual time, sped up, records what it receives
// to DIR/run.qlp (for a replay) and saves a picture of each tab.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QLineSeries>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

#include "analysis/stability_table.h"
#include "analysis/timing_history.h"
#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "link/clock.h"
#include "session/scheduler.h"
#include "reports/charts_window.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"
#include "sim/sim_options.h"
#include "tools/log_qlip_window.h"
#include "sim/simulated_device.h"
#include "tests/support/memory_settings.h"

using namespace halvix;

namespace {

class QuietPrompts final : public platform::OperatorPrompts {
 public:
  platform::PromptAnswer message(const QString&, const QString&, platform::PromptButtons,
                            platform::PromptIcon) override {
    return platform::PromptAnswer::Ok;
  }
  QString openFileName(const QString&, const QString&) override { return {}; }
  QString saveFileName(const QString&, const QString&) override { return saveName; }
  QString saveName;
  void showHelp() override {}
};

// One second of reports: a disciplined PPS with noise, a slow oscillator
// wander, the sawtooth, a few alarms and spikes.
void AddSecond(reports::TForm_Charts& charts, link::VirtualClock& clock, int t) {
  static std::mt19937_64 random(1);
  static std::normal_distribution<double> gauss;
  static double wander = 0;
  reports::SupplementalTiming r;
  wander += 0.002 * gauss(random);
  r.quantizationError = std::fmod(t * 3.7, 10.0) - 5.0;
  r.ppsOffset = 3.0 * gauss(random) + r.quantizationError + (t % 20'000 == 0 ? 80.0 : 0.0);
  r.oscillatorOffset = wander;
  r.minorAlarms = static_cast<std::uint16_t>(t % 7200 < 30 ? 0x0008 : 0);
  charts.AddTiming(r);
  reports::SatelliteSelection s;
  s.satelliteCount = 8 + t / 10'000 % 4;
  for (int k = 0; k < s.satelliteCount; ++k) s.satellites[static_cast<std::size_t>(k)] = static_cast<std::int8_t>(k + 1);
  charts.AddSelection(s);
  clock.advance(1000);
}

void FillDay(reports::TForm_Charts& charts, link::VirtualClock& clock) {
  for (int t = 0; t < 86'400; ++t) AddSecond(charts, clock, t);
}

void BM_ChartRedraw24h(benchmark::State& state) {
  link::VirtualClock clock(0);
  QuietPrompts prompts;
  reports::TForm_Charts charts(clock, prompts);
  FillDay(charts, clock);
  charts.show();
  // Plot area of 1280 px: the window is wider by the axes and margins.
  for (int w = 1340; w < 1500; w += 4) {
    charts.resize(w, 900);
    QApplication::processEvents();
    auto* pps = charts.findChild<QChartView*>(QStringLiteral("Chart_PPSOffset"));
    if (pps->chart()->plotArea().width() >= 1280) break;
  }
  charts.SetSpan(reports::TForm_Charts::Span::Day);
  QWidget* page = charts.testControls().TabControl_Charts->currentWidget();
  QPixmap canvas(page->size());
  // Each redraw one second later, so the axes move as they do live.
  int t = 86'400;
  for (auto _ : state) {
    AddSecond(charts, clock, t++);
    charts.Redraw();
    page->render(&canvas);
  }
  auto* pps = charts.findChild<QChartView*>(QStringLiteral("Chart_PPSOffset"));
  state.counters["plot_px"] = pps->chart()->plotArea().width();
  state.counters["points_per_series"] =
      static_cast<double>(static_cast<QLineSeries*>(pps->chart()->series()[0])->count());
  state.counters["samples"] = static_cast<double>(charts.history().timing().size());
  charts.hide();
}
BENCHMARK(BM_ChartRedraw24h)->Name("ChartRedraw/24h_of_data/1280px")->Unit(benchmark::kMillisecond);

// What the once-a-second timer costs on average with a full day held: one
// new second of reports and one tick, painting whenever the tick redrew.
// Per tick, 10 ms would be 1 % of a core.
void BM_TimerTickFullDay(benchmark::State& state) {
  const auto span = static_cast<reports::TForm_Charts::Span>(state.range(0));
  link::VirtualClock clock(0);
  QuietPrompts prompts;
  reports::TForm_Charts charts(clock, prompts);
  FillDay(charts, clock);
  charts.resize(1340, 900);
  charts.show();
  QApplication::processEvents();
  charts.SetSpan(span);
  QWidget* page = charts.testControls().TabControl_Charts->currentWidget();
  QPixmap canvas(page->size());
  int t = 86'400;
  const int before = charts.timeSeriesRedraws();
  for (auto _ : state) {
    AddSecond(charts, clock, t++);
    const int drawn = charts.timeSeriesRedraws();
    charts.RedrawTimer();
    if (charts.timeSeriesRedraws() != drawn) page->render(&canvas);
  }
  state.counters["redraws_per_tick"] = benchmark::Counter(
      static_cast<double>(charts.timeSeriesRedraws() - before) / static_cast<double>(state.iterations()));
  charts.hide();
}
BENCHMARK(BM_TimerTickFullDay)
    ->Name("TimerTick/24h_of_data/span")
    ->Arg(static_cast<int>(reports::TForm_Charts::Span::TenMinutes))
    ->Arg(static_cast<int>(reports::TForm_Charts::Span::Day))
    ->Arg(static_cast<int>(reports::TForm_Charts::Span::All))
    ->Iterations(600)
    ->Unit(benchmark::kMicrosecond);

analysis::TimingHistory& FullHistory() {
  static analysis::TimingHistory h = [] {
    analysis::TimingHistory day;
    std::mt19937_64 random(2);
    std::normal_distribution<double> gauss;
    for (int t = 0; t < 86'400; ++t) {
      day.addTiming(t, static_cast<float>(3 * gauss(random)), 0, static_cast<float>(gauss(random)), 0);
    }
    return day;
  }();
  return h;
}

// One new report into a full day: both accumulators updated, both read out.
void BM_LiveStabilityUpdate(benchmark::State& state) {
  analysis::TimingHistory& h = FullHistory();
  double t = h.timing().back().t;
  std::size_t points = 0;
  for (auto _ : state) {
    t += 1;
    h.addTiming(t, 1.5f, 0, 0.5f, 0);
    const analysis::StabilityResult raw = h.stability(false).result();
    const analysis::StabilityResult corrected = h.stability(true).result();
    points = raw.hdev.size() + corrected.hdev.size();
    benchmark::DoNotOptimize(points);
    benchmark::DoNotOptimize(raw.hdev.back().high);
  }
  state.counters["taus"] = static_cast<double>(points / 2);
}
BENCHMARK(BM_LiveStabilityUpdate)->Name("Stability/live_update_per_sample/24h_window")->Unit(benchmark::kMicrosecond);

void BM_StabilityFromScratch24h(benchmark::State& state) {
  std::vector<double> x(86'400);
  std::mt19937_64 random(3);
  std::normal_distribution<double> gauss(0, 1e-9);
  for (double& v : x) v = gauss(random);
  for (auto _ : state) benchmark::DoNotOptimize(analysis::ComputeStability(x));
}
BENCHMARK(BM_StabilityFromScratch24h)->Name("Stability/from_scratch/24h")->Unit(benchmark::kMillisecond);

// What halvix-decode --adev and the stability export do with a day: both
// series from scratch, with a few gaps, and the table written.
void BM_StabilityTable24h(benchmark::State& state) {
  std::vector<double> raw(86'400), corrected(86'400);
  std::mt19937_64 random(4);
  std::normal_distribution<double> gauss(0, 1e-9);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    corrected[i] = gauss(random);
    raw[i] = corrected[i] + std::fmod(static_cast<double>(i) * 3.7, 10.0) * 1e-9;
    if (i % 10'007 == 5) raw[i] = corrected[i] = std::nan("");
  }
  std::size_t rows = 0;
  for (auto _ : state) {
    rows = analysis::StabilityRows(analysis::ComputeStability(raw), analysis::ComputeStability(corrected)).size();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["taus"] = static_cast<double>(rows);
}
BENCHMARK(BM_StabilityTable24h)->Name("Stability/full_table_from_scratch/24h")->Unit(benchmark::kMillisecond);

// Halvix on the simulated receiver for `hours` of virtual time with the timing
// packets polled, the Charts window open; then a picture of each tab.
int Snapshots(const QString& dir, double hours) {
  session::VirtualScheduler scheduler(0);
  link::VirtualClock& clock = scheduler.virtualClock();
  QuietPrompts prompts;
  platform::FixedPcClock pcClock;
  testing::MemorySettings settings;
  settings.setNtp(QStringLiteral("0"));
  app::Program program(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<app::PortDialogChoice>(); },
      [](const app::PortChoice&, link::Clock& c) {
        sim::SimOptions options;
        options.startGpsMs = (2448LL * 604'800 + 176'870) * 1000;
        // Real sky motion, so each satellite leaves a trail.
        options.speed = 1.0;
        return sim::CreateSimulatedDevice(options, c);
      },
      &pcClock, &settings});
  if (!program.start({QStringLiteral("--simulate")})) return 1;
  app::TForm_Main& main = *program.mainWindow();
  for (int i = 0; i < 100 && program.session()->state() != session::SessionState::Polling; ++i) {
    scheduler.advance(200);
  }
  main.menu.ControlPollingTimingPkts->setChecked(true);
  main.menu.ControlRecordQlip->trigger();
  tools::TForm_LogQlip& recorder = *program.windows()->logQlip;
  prompts.saveName = QDir(dir).filePath(QStringLiteral("run.qlp"));
  recorder.testControls().Button_Open->click();
  recorder.testControls().Button_Start->click();
  recorder.testControls().Button_Close->click();
  prompts.saveName.clear();
  main.findChild<QAction*>(QStringLiteral("WindowCharts"))->trigger();
  reports::TForm_Charts& charts = *program.windows()->charts;
  charts.resize(1100, 860);
  const std::int64_t end = clock.nowMs() + static_cast<std::int64_t>(hours * 3'600'000);
  while (clock.nowMs() < end) scheduler.advance(200);
  recorder.Button_StopClick();
  std::printf("%s\n", qPrintable(QDir(dir).filePath(QStringLiteral("run.qlp"))));
  charts.SetSpan(reports::TForm_Charts::Span::All);
  const char* names[] = {"charts", "stability", "sky"};
  for (int tab = 0; tab < 3; ++tab) {
    charts.testControls().TabControl_Charts->setCurrentIndex(tab);
    QApplication::processEvents();
    charts.Redraw();
    QApplication::processEvents();
    const QString path = QDir(dir).filePath(QStringLiteral("%1.png").arg(QString::fromLatin1(names[tab])));
    if (!charts.grab().save(path)) return 1;
    std::printf("%s\n", qPrintable(path));
  }
  std::printf("%zu timing samples, %zu satellite samples, %d satellites in the sky\n",
              charts.history().timing().size(), charts.history().satellites().size(),
              charts.sky().trackedCount());
  for (QWidget* w : program.windows()->creationOrder) w->hide();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc >= 3 && std::string(argv[1]) == "--snapshots") {
    return Snapshots(QString::fromLocal8Bit(argv[2]), argc >= 4 ? std::atof(argv[3]) : 2.0);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
