// The view windows as the operator uses them: fixed windows with every
// control inside, refresh buttons that ask for their report, group hints
// that name the report that filled them, the Tracking Status titles lining up
// with the fixed-pitch rows, and the Window menu items that open each window.
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>

#include "reports/add_timing_window.h"
#include "reports/ephem_stat_window.h"
#include "reports/position_layouts.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"
#include "widgets/group_panel.h"
#include "reports/raw_meas_window.h"
#include "reports/track_window.h"
#include "reports/vel_pos_window.h"
#include "tests/reports/display_fixture.h"
#include "tools/alm_health_window.h"
#include "tools/almanac_data_window.h"

using namespace halvix;
using halvix::widgets::ValuePanel;
using halvix::testing::DisplayTest;

namespace {

class ViewWindowsTest : public DisplayTest {};

// No control sticks out of the widget that holds it.
void ExpectContained(QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    QWidget* parent = w->parentWidget();
    if (parent == nullptr || w->isWindow() || w->objectName().isEmpty()) continue;
    if (qobject_cast<QTabBar*>(parent) != nullptr || qobject_cast<QComboBox*>(parent) != nullptr) continue;
    EXPECT_TRUE(parent->rect().contains(w->geometry()))
        << w->objectName().toStdString() << " outside " << parent->objectName().toStdString();
  }
}

TEST_F(ViewWindowsTest, EveryWindowIsFixedAndKeepsItsControlsInside) {
  const struct {
    QWidget* window;
    const char* name;
    std::size_t buttons;
  } cases[] = {
      {windows->velPos.get(), "Form_VelPos", 2},       {windows->addTiming.get(), "Form_AddTiming", 4},
      {windows->track.get(), "Form_Track", 0},         {windows->rawMeas.get(), "Form_RawMeas", 1},
      {windows->ephemStat.get(), "Form_EphemStat", 1}, {windows->almanacData.get(), "Form_AlmanacData", 1},
      {windows->almHealth.get(), "Form_AlmHealth", 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.window->objectName(), QString::fromLatin1(k.name));
    EXPECT_FALSE(k.window->windowTitle().isEmpty());
    EXPECT_EQ(k.window->minimumSize(), k.window->maximumSize()) << "fixed border";
    EXPECT_EQ(k.window->findChildren<QPushButton*>().size(), k.buttons);
    ExpectContained(k.window);
  }
}

TEST_F(ViewWindowsTest, EachRefreshButtonAsksForItsWindowsReport) {
  const struct {
    QPushButton* button;
    std::vector<halvix::testing::Bytes> queries;
  } cases[] = {
      {windows->rawMeas->testControls().Button_Refresh, {{0x3A, 0x01}}},
      {windows->ephemStat->testControls().Button_Refresh, {{0x3B, 0x01}}},
      {windows->almanacData->testControls().Button_Query, {{0x20, 0x01}}},
      {windows->almHealth->testControls().Button_Query, {{0x29}}},
      {windows->addTiming->testControls().Button_Query, {{0x8E, 0xAD}, {0x8E, 0x0B}}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.button->window()->objectName().toStdString());
    k.button->click();
    EXPECT_EQ(sent(), k.queries);
  }
}

TEST_F(ViewWindowsTest, EachGroupsHintNamesTheReportThatFillsIt) {
  const auto& vp = windows->velPos->testControls();
  const auto& at = windows->addTiming->testControls();
  const auto& tr = windows->track->testControls();
  const struct {
    int id;
    int subCode;  // first payload byte of a super-report, else -1
    int length;
    QWidget* group;
    ValuePanel* filled;
    const char* packet;
  } cases[] = {
      {0x43, -1, reports::XyzVelocity::kLength, vp.Panel_ECEFVelocity, vp.Panel_VelX, "0x43"},
      {0x56, -1, reports::EnuVelocity::kLength, vp.Panel_ENUVelocity, vp.Panel_East, "0x56"},
      {0x8F, 0xAD, reports::PrimaryUtcTime::kLength, at.Panel_PrimaryUTC, at.Panel_PrimaryUTCTime, "8F-AD"},
      {0x8F, 0x0B, reports::ComprehensiveTime::kLength, at.Panel_CompTime, at.Panel_GPSTime, "8F-0B"},
      {0x5C, -1, reports::TrackingStatus::kLength, tr.Panel_TS[0], tr.Panel_TS[0], "5C"},
      {0x6D, -1, reports::SatelliteSelection::kMinLength, tr.Panel_PDOP, tr.Panel_PDOP, "6D"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.packet);
    EXPECT_TRUE(k.filled->text().trimmed().isEmpty());
    halvix::testing::PayloadWriter p(k.length);
    if (k.subCode >= 0) p.byte(0, static_cast<std::uint8_t>(k.subCode));
    feed(k.id, p);
    EXPECT_FALSE(k.filled->text().trimmed().isEmpty()) << "the report fills the group";
    EXPECT_TRUE(k.group->toolTip().contains(QLatin1String(k.packet))) << k.group->toolTip().toStdString();
  }
}

TEST_F(ViewWindowsTest, FlagLampsAndSatelliteChoices) {
  for (int bit : {0, 4, 5, 6, 7}) {
    auto* lamp = windows->addTiming->flagLamp(bit);
    ASSERT_NE(lamp, nullptr) << bit;
    EXPECT_EQ(lamp->objectName(), QStringLiteral("Shape_LED%1").arg(bit));
    EXPECT_FALSE(lamp->toolTip().isEmpty());
    EXPECT_EQ(lamp->color(), halvix::testing::Rgb(widgets::kLampIdle));
  }
  EXPECT_EQ(windows->addTiming->flagLamp(1), nullptr);

  auto* tabs = windows->rawMeas->testControls().TabControl_SV;
  ASSERT_EQ(tabs->count(), 32);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("1"));
  EXPECT_EQ(tabs->tabText(31), QStringLiteral("32"));
  for (QComboBox* combo : {windows->ephemStat->testControls().ComboBox_SV, windows->almanacData->testControls().ComboBox_SV}) {
    ASSERT_EQ(combo->count(), 32);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(31), QStringLiteral("32"));
  }

  // Each almanac value has its caption to its left, in window order.
  const auto panels = windows->almanacData->valuePanels();
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto* label = windows->almanacData->findChild<QLabel*>(
        QStringLiteral("Label_") + panels[i]->objectName().mid(6));
    ASSERT_NE(label, nullptr) << i;
    EXPECT_FALSE(label->text().isEmpty());
    EXPECT_LT(label->x(), panels[i]->x());
    if (i > 0) {
      EXPECT_GT(panels[i]->y(), panels[i - 1]->y()) << "window order";
    }
  }

  auto& health = windows->almHealth->testControls().Panel_SV;
  EXPECT_EQ(health[0]->objectName(), QStringLiteral("Panel_SV1"));
  EXPECT_EQ(health[8]->x(), health[15]->x()) << "SV 9..16 share the second column";
  EXPECT_GT(health[8]->x(), health[7]->x());
  EXPECT_EQ(health[0]->y(), health[24]->y());
}

TEST_F(ViewWindowsTest, TrackingTitlesLineUpWithTheFixedPitchRows) {
  reports::TForm_Track& w = *windows->track;
  ValuePanel* row = w.testControls().Panel_TS[0];
  EXPECT_TRUE(QFontInfo(row->font()).fixedPitch());
  const QFontMetricsF fm(row->font());
  EXPECT_DOUBLE_EQ(fm.horizontalAdvance(QStringLiteral("iiii")), fm.horizontalAdvance(QStringLiteral("MMMM")));

  // Where the row text starts inside the row panel, and the widest row.
  const double textLeft = row->x() + row->frameWidth() + row->indent();
  const QString sample = QStringLiteral(" 17   4    1   1 -1234.5 1234567.0 -90.0 -180.0");
  ASSERT_EQ(sample.size(), 47);
  EXPECT_LE(textLeft + fm.horizontalAdvance(sample), row->x() + row->width() - row->frameWidth())
      << "the widest row fits";
  double previousRight = 0;
  double previousTextRight = 0;
  const double cell = fm.horizontalAdvance(QStringLiteral("0"));
  for (std::size_t i = 0; i < w.testControls().Label_Column.size(); ++i) {
    QLabel* title = w.testControls().Label_Column[i];
    SCOPED_TRACE(title->text().toStdString());
    EXPECT_EQ(title->font(), row->font());
    const double columnRight = textLeft + fm.horizontalAdvance(sample.left(reports::TForm_Track::kColumnEnds[i]));
    EXPECT_NEAR(title->x() + title->width(), columnRight, 1.0);
    const double advance = fm.horizontalAdvance(title->text());
    EXPECT_LE(advance, title->width()) << "the title fits its column";
    EXPECT_GE(title->x(), previousRight - 0.5);
    previousRight = title->x() + title->width();
    // The title text stands over its column with at least half a cell free
    // before it, so no two titles run together ("SVChan").
    const double textStart = (title->alignment() & Qt::AlignRight) ? previousRight - advance : title->x();
    EXPECT_GE(textStart - previousTextRight, cell / 2) << "a visible gap before the title";
    previousTextRight = textStart + advance;
    EXPECT_LT(title->y() + title->height(), row->y() + 1);
  }
  ValuePanel* list = w.testControls().Panel_SVSel;
  EXPECT_EQ(list->font(), row->font());
  EXPECT_LE(fm.horizontalAdvance(QString(12 * 4, QLatin1Char('0'))),
            list->contentsRect().width() - list->indent())
      << "twelve selected satellites fit on one line";
  for (std::size_t i = 1; i < w.testControls().Panel_TS.size(); ++i) {
    EXPECT_EQ(w.testControls().Panel_TS[i]->x(), row->x());
    EXPECT_GT(w.testControls().Panel_TS[i]->y(), w.testControls().Panel_TS[i - 1]->y());
  }
}

TEST_F(ViewWindowsTest, WindowMenuOpensEachWindow) {
  const struct {
    QAction* item;
    QWidget* window;
  } items[] = {
      {main().menu.WindowAddTiming, windows->addTiming.get()},
      {main().menu.WindowVelAndPos, windows->velPos.get()},
      {main().menu.ViewTrack, windows->track.get()},
      {main().menu.ViewRawMeas, windows->rawMeas.get()},
      {main().menu.ViewEphemerisStatus, windows->ephemStat.get()},
      {main().menu.ViewAlmanacData, windows->almanacData.get()},
      {main().menu.ViewHealth, windows->almHealth.get()},
  };
  for (const auto& k : items) {
    SCOPED_TRACE(k.window->objectName().toStdString());
    EXPECT_FALSE(k.window->isVisible());
    k.item->trigger();
    EXPECT_TRUE(k.window->isVisible());
    k.window->hide();
  }
  // The satellite table's title opens the Tracking Status window too.
  main().testControls().Label_SVDataTitle->clicked();
  EXPECT_TRUE(windows->track->isVisible());
}

TEST_F(ViewWindowsTest, QueriesOnActivation) {
  windows->almHealth->FormActivate();
  windows->almanacData->FormActivate();
  windows->ephemStat->FormActivate();
  windows->rawMeas->FormActivate();
  EXPECT_EQ(sent(), (std::vector<halvix::testing::Bytes>{{0x29}, {0x20, 0x01}, {0x3B, 0x01}, {0x3A, 0x01}}));
}

}  // namespace
