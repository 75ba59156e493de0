// The Charts window on the simulated receiver, on virtual time: opened from
// the Window menu, it fills one sample a second from the supplemental timing
// report while the timing packets are polled, charts the satellites in any
// case, says so when the timing report does not come, and exports what it holds.
#include <gtest/gtest.h>

#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "reports/charts_window.h"
#include "reports/stability_view.h"
#include "reports/time_chart_view.h"
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
  void start(bool pollTimingPackets) {
    ASSERT_NO_FATAL_FAILURE(startPolling(pollTimingPackets));
    main().findChild<QAction*>(QStringLiteral("WindowCharts"))->trigger();
    ASSERT_TRUE(charts().isVisible());
  }
  TForm_Charts& charts() { return *program->windows()->charts; }
  // Virtual seconds, the session's poll ticks on their 200 ms grid.
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
  EXPECT_FALSE(charts().testControls().Label_Status->text().contains(QStringLiteral("No supplemental")));
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
  const QString live = charts().testControls().Label_Status->text();
  EXPECT_FALSE(live.contains(QStringLiteral("0x8F-AC"))) << live.toStdString();
  cable->setConnected(false);
  runSeconds(6);
  charts().Redraw();
  EXPECT_TRUE(charts().testControls().Label_Status->text().contains(QStringLiteral("0x8F-AC")));
  EXPECT_GT(points("Chart_Satellites"), 10) << "what came before stays charted";
}

TEST_F(ChartsTest, SpansZoomPanAndExport) {
  start(true);
  runSeconds(120);
  TForm_Charts& c = charts();
  c.testControls().Button_Span[1]->click();  // 1 h
  EXPECT_DOUBLE_EQ(c.viewRange().second - c.viewRange().first, 3600.0);
  c.testControls().Button_Span[4]->click();  // all: the data held
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
  c.testControls().Button_ExportCSV->click();
  QFile series(csv + QStringLiteral(".csv"));
  ASSERT_TRUE(series.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = series.readAll().split('\n');
  EXPECT_EQ(lines.size() - 2, static_cast<qsizetype>(c.history().timing().size()));  // header, last newline
  EXPECT_TRUE(lines[0].startsWith("time_s,pps_offset_ns"));

  c.testControls().TabControl_Charts->setCurrentIndex(1);
  c.testControls().Button_ExportStability->click();
  QFile stability(dir.filePath(QStringLiteral("stability.csv")));
  ASSERT_TRUE(stability.open(QIODevice::ReadOnly));
  EXPECT_EQ(stability.readAll().count('\n'), 1 + 5) << "header and taus 1, 2, 5, 10, 20";
  c.testControls().Button_ExportPNG->click();
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("picture.png"))));
  c.testControls().Button_ExportCSV->click();  // cancelled: nothing, no message
  EXPECT_TRUE(prompts.messages.empty());

  prompts.fileNames = {QStringLiteral("/nonexistent-dir/x.csv")};
  c.testControls().Button_ExportCSV->click();
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
  // The span moves whenever the newest sample is a pixel column (0.9 s) on:
  // the timing reports come every second, the tracking reports every 1.2 s
  // between them, so a few seconds bring less than a column.
  EXPECT_GE(redrawsOver(30), 24) << "the 10-minute span moves nearly every second";

  c.testControls().Button_Span[3]->click();  // 24 h: a pixel column is over a minute
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
  c.testControls().Button_Span[0]->click();
  for (int i = 0; i < 3; ++i) QTest::keyClick(pps, Qt::Key_Left);
  EXPECT_EQ(redrawsOver(20), 0);
  QTest::keyClick(pps, Qt::Key_Home);

  c.testControls().TabControl_Charts->setCurrentIndex(2);
  EXPECT_EQ(redrawsOver(5), 0) << "the time series are not the tab shown";
  c.testControls().TabControl_Charts->setCurrentIndex(0);
  c.hide();
  EXPECT_FALSE(c.testControls().Timer_Redraw->isActive());
  EXPECT_EQ(redrawsOver(5), 0) << "nor is the window";
  const int hidden = c.timeSeriesRedraws();
  c.show();
  EXPECT_TRUE(c.testControls().Timer_Redraw->isActive());
  EXPECT_EQ(c.timeSeriesRedraws(), hidden + 1) << "shown again, it catches up at once";
}

TEST_F(ChartsTest, EventsAreMarkedListedAndExported) {
  start(true);
  runSeconds(120);
  TForm_Charts& c = charts();
  const std::size_t before = c.events().size();
  cable->setConnected(false);  // the reports stop for a while
  runSeconds(20);
  cable->setConnected(true);
  runSeconds(30);
  const auto kinds = [&] {
    std::vector<std::string> out;
    for (std::size_t i = before; i < c.events().size(); ++i) out.emplace_back(c.events()[i].kind);
    return out;
  };
  const std::vector<std::string> seen = kinds();
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], "device_lost");
  EXPECT_EQ(seen[1], "device_back");
  EXPECT_GT(c.events()[before + 1].t - c.events()[before].t, 15.0);
  QTableWidget* table = c.testControls().Table_Events;
  ASSERT_EQ(table->rowCount(), static_cast<int>(c.events().size()));
  EXPECT_EQ(table->item(static_cast<int>(before), 1)->text(), QStringLiteral("device_lost"));

  // The outage is marked on the time series when they are next drawn.
  c.testControls().TabControl_Charts->setCurrentIndex(0);
  c.Redraw();
  EXPECT_GE(c.testControls().Chart_PPSOffset->eventMarks.size(), 2u);

  // Tighter thresholds find the simulated PPS's own noise a step now and then.
  c.testControls().Edit_StepFloor->setValue(0);
  c.testControls().Edit_StepSpreads->setValue(1.0);
  runSeconds(60);
  const std::vector<std::string> later = kinds();
  EXPECT_NE(std::find(later.begin(), later.end(), "pps_step"), later.end());

  QTemporaryDir dir;
  prompts.fileNames = {dir.filePath(QStringLiteral("events"))};
  c.testControls().Button_ExportEvents->click();
  QFile file(dir.filePath(QStringLiteral("events.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  EXPECT_EQ(lines[0], "time_s,kind,detail,from,to,value");
  EXPECT_EQ(lines.size() - 2, static_cast<qsizetype>(c.events().size()));
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ChartsTest, TheStabilityTabShowsHadamardIntervalsAndNoise) {
  start(true);
  runSeconds(400);
  TForm_Charts& c = charts();
  c.testControls().TabControl_Charts->setCurrentIndex(1);
  c.testControls().ComboBox_Deviation->setCurrentIndex(3);
  reports::StabilityChartView* view = c.testControls().Chart_Stability;
  EXPECT_TRUE(view->series[0]->name().startsWith(QStringLiteral("HDEV")));
  ASSERT_GE(view->bars.size(), 8u);  // taus 1 to 100, raw and corrected
  for (qsizetype i = 0; i < view->series[0]->count(); ++i) {
    const QPointF p = view->series[0]->at(i);
    const auto& bar = view->bars[static_cast<std::size_t>(i)];
    EXPECT_LT(bar.low, p.y());
    EXPECT_GT(bar.high, p.y());
    EXPECT_FALSE(bar.noise.isEmpty());
  }
  EXPECT_TRUE(c.testControls().Label_Stability->text().contains(QStringLiteral("68.3")));

  QTemporaryDir dir;
  prompts.fileNames = {dir.filePath(QStringLiteral("stability.csv"))};
  c.testControls().Button_ExportStability->click();
  QFile file(dir.filePath(QStringLiteral("stability.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  const QList<QByteArray> head = lines[0].split(',');
  for (const char* name : {"hdev", "hdev_lo", "adev_hi", "noise", "hdev_skipped"}) {
    EXPECT_TRUE(head.contains(name)) << name;
  }
  const QList<QByteArray> first = lines[1].split(',');
  ASSERT_EQ(first.size(), head.size());
  const double adev = first[head.indexOf("adev")].toDouble();
  EXPECT_LT(first[head.indexOf("adev_lo")].toDouble(), adev);
  EXPECT_GT(first[head.indexOf("adev_hi")].toDouble(), adev);
}

}  // namespace
