// The Charts window on the simulated receiver, on virtual time: opened from
// the Window menu, it fills one sample a second from the supplemental timing
// report while the timing packets are polled, charts the satellites in any
// case, says so when the timing report does not come, and exports what it holds.
#include <gtest/gtest.h>

#include <QAction>
#include <QChartView>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "app/system_clock.h"
#include "app/windows.h"
#include "reports/charts_window.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"
#include "tests/integration/sim_program.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using halvix::reports::TForm_Charts;
using halvix::testing::SwitchedSimDevice;

namespace {

class ChartsTest : public halvix::testing::SimProgramTest {
 protected:
  // "0" in the NTP setting: the timing packets are polled.
  void start(bool pollTimingPackets) {
    settings.setNtp(pollTimingPackets ? QStringLiteral("0") : QStringLiteral("1"));
    sim::SimOptions options;
    options.startGpsMs = kStartGpsMs;
    ASSERT_NO_FATAL_FAILURE(startProgram(options));
    main().menu.ControlPollingTimingPkts->setChecked(pollTimingPackets);
    main().findChild<QAction*>(QStringLiteral("WindowCharts"))->trigger();
    ASSERT_TRUE(charts().isVisible());
  }
  TForm_Charts& charts() { return *program->windows()->charts; }
  // Virtual seconds: the send pacing advances the clock too.
  void runSeconds(int seconds) {
    const std::int64_t end = clock.nowMs() + seconds * 1000LL;
    while (clock.nowMs() < end) tick();
  }
  qsizetype points(const char* chart, int series = 0) {
    auto* view = charts().findChild<QChartView*>(QString::fromLatin1(chart));
    return static_cast<QLineSeries*>(view->chart()->series()[series])->count();
  }
};

TEST_F(ChartsTest, TenMinutesOfTimingPacketsAreSixHundredSamples) {
  start(true);
  const auto& timing = charts().history().timing();
  runSeconds(10);  // the reports queued during start-up come in at once
  const std::size_t before = timing.size();
  runSeconds(600);
  EXPECT_NEAR(static_cast<double>(timing.size() - before), 600.0, 1.0);
  for (std::size_t i = before + 1; i < timing.size(); ++i) {
    ASSERT_NEAR(timing[i].t - timing[i - 1].t, 1.0, 0.25) << "sample " << i;
  }
  charts().Redraw();
  EXPECT_FALSE(charts().controls.Label_Status->text().contains(QStringLiteral("No supplemental")));
  // The ten-minute span shows every sample of its ten minutes.
  for (const char* chart : {"Chart_PPSOffset", "Chart_Oscillator", "Chart_Quantization"}) {
    EXPECT_NEAR(static_cast<double>(points(chart)), 600.0, 2.0) << chart;
  }
  const auto& sats = charts().history().satellites().back();
  EXPECT_GE(sats.tracked, sats.used);
  EXPECT_GE(sats.used, 4);
  EXPECT_GE(charts().sky().trackedCount(), 8);
  // 600 phase points: taus 1 to 100 s, ADEV falling with tau for a disciplined PPS.
  const analysis::StabilityResult r = charts().history().stability(false).result();
  ASSERT_EQ(r.adev.size(), 7u);
  EXPECT_EQ(r.adev.back().tau, 100.0);
  EXPECT_LT(r.adev.back().value, r.adev.front().value);
}

TEST_F(ChartsTest, WithoutTheTimingReportTheChartSaysSo) {
  start(true);
  runSeconds(20);
  charts().Redraw();
  const QString live = charts().controls.Label_Status->text();
  EXPECT_FALSE(live.contains(QStringLiteral("0x8F-AC"))) << live.toStdString();
  cable->setConnected(false);
  runSeconds(6);
  charts().Redraw();
  EXPECT_TRUE(charts().controls.Label_Status->text().contains(QStringLiteral("0x8F-AC")));
  EXPECT_GT(points("Chart_Satellites"), 10) << "what came before stays charted";
}

TEST_F(ChartsTest, SpansZoomPanAndExport) {
  start(true);
  runSeconds(120);
  TForm_Charts& c = charts();
  c.controls.Button_Span[1]->click();  // 1 h
  EXPECT_DOUBLE_EQ(c.viewRange().second - c.viewRange().first, 3600.0);
  c.controls.Button_Span[4]->click();  // all: the data held
  EXPECT_NEAR(c.viewRange().second - c.viewRange().first, 120.0, 3.0);

  QWidget* pps = c.findChild<QWidget*>(QStringLiteral("Chart_PPSOffset"));
  QTest::keyClick(pps, Qt::Key_Plus);
  EXPECT_FALSE(c.followsLive());
  EXPECT_NEAR(c.viewRange().second - c.viewRange().first, 60.0, 2.0);
  const double from = c.viewRange().first;
  QTest::keyClick(pps, Qt::Key_Right);
  EXPECT_NEAR(c.viewRange().first - from, 6.0, 0.3);
  runSeconds(5);
  c.Redraw();
  EXPECT_NEAR(c.viewRange().first - from, 6.0, 0.3) << "a zoomed view stays put";
  QTest::keyClick(pps, Qt::Key_Home);
  EXPECT_TRUE(c.followsLive());
  EXPECT_TRUE(c.CursorText(60).contains(QStringLiteral("PPS offset")));

  QTemporaryDir dir;
  const QString csv = dir.filePath(QStringLiteral("series"));
  prompts.fileNames = {csv, dir.filePath(QStringLiteral("stability.csv")),
                       dir.filePath(QStringLiteral("picture.png")), QString()};
  c.controls.Button_ExportCSV->click();
  QFile series(csv + QStringLiteral(".csv"));
  ASSERT_TRUE(series.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = series.readAll().split('\n');
  EXPECT_EQ(lines.size() - 2, static_cast<qsizetype>(c.history().timing().size()));  // header, last newline
  EXPECT_TRUE(lines[0].startsWith("time_s,pps_offset_ns"));

  c.controls.TabControl_Charts->setCurrentIndex(1);
  c.controls.Button_ExportStability->click();
  QFile stability(dir.filePath(QStringLiteral("stability.csv")));
  ASSERT_TRUE(stability.open(QIODevice::ReadOnly));
  EXPECT_EQ(stability.readAll().count('\n'), 1 + 5) << "header and taus 1, 2, 5, 10, 20";
  c.controls.Button_ExportPNG->click();
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("picture.png"))));
  c.controls.Button_ExportCSV->click();  // cancelled: nothing, no message
  EXPECT_TRUE(prompts.messages.empty());

  prompts.fileNames = {QStringLiteral("/nonexistent-dir/x.csv")};
  c.controls.Button_ExportCSV->click();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Error"));
}

TEST_F(ChartsTest, TheTimerRedrawsOnlyWhatIsVisibleAndDue) {
  start(true);
  runSeconds(10);
  TForm_Charts& c = charts();
  // One timer tick a second for a while, counting the time-series redraws.
  const auto redrawsOver = [&](int seconds) {
    const int before = c.timeSeriesRedraws();
    for (int i = 0; i < seconds; ++i) {
      runSeconds(1);
      c.RedrawTimer();
    }
    return c.timeSeriesRedraws() - before;
  };
  EXPECT_GE(redrawsOver(30), 29) << "the 10-minute span moves every second";

  c.controls.Button_Span[3]->click();  // 24 h: a pixel column is over a minute
  const int columns = static_cast<int>(
      c.findChild<QChartView*>(QStringLiteral("Chart_PPSOffset"))->chart()->plotArea().width());
  ASSERT_GT(columns, 100);
  const double expected = 600.0 / (86'400.0 / columns);
  const int day = redrawsOver(600);
  EXPECT_GE(day, static_cast<int>(expected) - 1);
  EXPECT_LE(day, static_cast<int>(expected) + 1);
  auto* drawn = static_cast<QLineSeries*>(
      c.findChild<QChartView*>(QStringLiteral("Chart_PPSOffset"))->chart()->series()[0]);
  EXPECT_NEAR(c.history().timing().back().t, drawn->at(drawn->count() - 1).x() * 60.0,
              86'400.0 / columns + 1.0)
      << "the newest sample drawn is at most a column old";

  // Zoomed into the past, new reports are not in view.
  QWidget* pps = c.findChild<QWidget*>(QStringLiteral("Chart_PPSOffset"));
  c.controls.Button_Span[0]->click();
  for (int i = 0; i < 3; ++i) QTest::keyClick(pps, Qt::Key_Left);
  EXPECT_EQ(redrawsOver(20), 0);
  QTest::keyClick(pps, Qt::Key_Home);

  c.controls.TabControl_Charts->setCurrentIndex(2);
  EXPECT_EQ(redrawsOver(5), 0) << "the time series are not the tab shown";
  c.controls.TabControl_Charts->setCurrentIndex(0);
  c.hide();
  EXPECT_FALSE(c.controls.Timer_Redraw->isActive());
  EXPECT_EQ(redrawsOver(5), 0) << "nor is the window";
  const int hidden = c.timeSeriesRedraws();
  c.show();
  EXPECT_TRUE(c.controls.Timer_Redraw->isActive());
  EXPECT_EQ(c.timeSeriesRedraws(), hidden + 1) << "shown again, it catches up at once";
}

}  // namespace
