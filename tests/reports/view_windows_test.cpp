// The view windows as laid out: captions, design names and hints, every
// control inside its window, the Tracking Status titles lining up with the
// fixed-pitch rows, and the Window menu items that open each window.
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QPushButton>
#include <QTabBar>

#include "reports/add_timing_window.h"
#include "reports/ephem_stat_window.h"
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

TEST_F(ViewWindowsTest, CaptionsNamesHintsAndButtons) {
  const struct {
    QWidget* window;
    const char* name;
    const char* caption;
    const char* hint;  // window-wide hint, when it has one
    std::vector<std::pair<const char*, const char*>> buttons;
  } cases[] = {
      {windows->velPos.get(), "Form_VelPos", "Velocity and Positioning", nullptr,
       {{"Button_Close", "&Close"}, {"Button1", "C&lear"}}},
      {windows->addTiming.get(), "Form_AddTiming", "Additional Timing Packets", nullptr,
       {{"Button_Query", "&Refresh"}, {"Button_Clear", "C&lear"}, {"Button_Close", "&Close"},
        {"Button_Event", "&Event Capture"}}},
      {windows->track.get(), "Form_Track", "Tracking Status", nullptr, {}},
      {windows->rawMeas.get(), "Form_RawMeas", "Raw Measurement Data",
       "Raw Measurement Data: Packet 0x5A", {{"Button_Refresh", "&Refresh"}}},
      {windows->ephemStat.get(), "Form_EphemStat", "Satellite Ephemeris Status",
       "Satellite Ephemeris Status: Packet 0x5B", {{"Button_Refresh", "&Refresh"}}},
      {windows->almanacData.get(), "Form_AlmanacData", "Almanac Data", "Almanac Data: Packet 0x40",
       {{"Button_Query", "&Refresh"}}},
      {windows->almHealth.get(), "Form_AlmHealth", "Almanac Health Page",
       "Almanac Health: Packet 0x49", {{"Button_Query", "&Refresh"}}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.window->objectName(), QString::fromLatin1(k.name));
    EXPECT_EQ(k.window->windowTitle(), QString::fromLatin1(k.caption));
    if (k.hint != nullptr) {
      EXPECT_EQ(k.window->toolTip(), QString::fromLatin1(k.hint));
    }
    EXPECT_EQ(k.window->minimumSize(), k.window->maximumSize()) << "fixed border";
    EXPECT_EQ(k.window->findChildren<QPushButton*>().size(), k.buttons.size());
    for (const auto& [name, text] : k.buttons) {
      auto* b = k.window->findChild<QPushButton*>(QString::fromLatin1(name));
      ASSERT_NE(b, nullptr) << name;
      EXPECT_EQ(b->text(), QString::fromLatin1(text));
    }
    ExpectContained(k.window);
  }
}

TEST_F(ViewWindowsTest, GroupHintsAndFixedTexts) {
  const auto hint = [](QWidget* w, const char* name) {
    auto* child = w->findChild<QWidget*>(QString::fromLatin1(name));
    return child != nullptr ? child->toolTip() : QStringLiteral("<missing>");
  };
  QWidget* vp = windows->velPos.get();
  EXPECT_EQ(hint(vp, "Panel_ECEFVelocity"), QStringLiteral("ECEF Velocity: Packet 0x43"));
  EXPECT_EQ(hint(vp, "Panel_ENUVelocity"), QStringLiteral("ENU Velocity: Packet 0x56"));
  EXPECT_EQ(windows->velPos->valuePanels().size(), 16u);

  QWidget* at = windows->addTiming.get();
  EXPECT_EQ(hint(at, "Panel_PrimaryUTC"), QStringLiteral("Primary UTC Time: Packet 8F-AD"));
  EXPECT_EQ(hint(at, "Panel_CompTime"), QStringLiteral("Comprehensive Time: Packet 8F-0B"));
  EXPECT_EQ(hint(at, "Panel_Event"), QStringLiteral("Event Time: Packets 8F-AD, 8F-0B"));
  EXPECT_EQ(hint(at, "Panel_SV8"), QStringLiteral("When blue, used for fixes"));
  const struct {
    int bit;
    const char* caption;
    const char* hint;
  } leds[] = {{0, "UTC Available", "When green, UTC is available."},
              {4, "Leap Scheduled", "When yellow, a leap event is scheduled."},
              {5, "Leap Pending", "When orange, a leap event will occur in < 24 hours."},
              {6, "GPS Leap Warning",
               "When red, a leap event has occured, or will occur, within +/- 6 hours."},
              {7, "Leap in Progress", "When blue, leap second is being inserted."}};
  for (const auto& l : leds) {
    auto* lamp = windows->addTiming->flagLamp(l.bit);
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->objectName(), QStringLiteral("Shape_LED%1").arg(l.bit));
    EXPECT_EQ(lamp->toolTip(), QString::fromLatin1(l.hint));
    EXPECT_EQ(lamp->color(), halvix::testing::Rgb(widgets::kLampIdle));
    auto* label = at->findChild<QLabel*>(QStringLiteral("Label_LED%1").arg(l.bit));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromLatin1(l.caption));
  }
  EXPECT_EQ(windows->addTiming->flagLamp(1), nullptr);
  for (const char* box : {"Time", "Receiver Mode", "Oscillator", "Position", "Satellites"}) {
    bool found = false;
    for (QGroupBox* g : at->findChildren<QGroupBox*>()) found = found || g->title() == QLatin1String(box);
    EXPECT_TRUE(found) << box;
  }

  QWidget* tr = windows->track.get();
  EXPECT_EQ(hint(tr, "Panel_TS12"), QStringLiteral("Tracking Status: Packet 3C, 5C"));
  EXPECT_EQ(hint(tr, "Panel_SVSel"), QStringLiteral("SV Selection: Packet 24, 6D"));
  EXPECT_EQ(hint(tr, "Panel_TDOP"), QStringLiteral("SV Selection: Packet 24, 6D"));
  EXPECT_EQ(hint(tr, "Label_Acq"), QStringLiteral("0=never aquired; 1=acquired; 2=re-opened search"));
  EXPECT_EQ(hint(tr, "Label_Azim"), QStringLiteral("The SV's approximate azimuth from true north"));

  auto* tabs = windows->rawMeas->controls.TabControl_SV;
  ASSERT_EQ(tabs->count(), 32);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("1"));
  EXPECT_EQ(tabs->tabText(31), QStringLiteral("32"));
  for (QComboBox* combo : {windows->ephemStat->controls.ComboBox_SV, windows->almanacData->controls.ComboBox_SV}) {
    ASSERT_EQ(combo->count(), 32);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(31), QStringLiteral("32"));
  }

  const char* const almanacCaptions[] = {"T_zc", "week num", "eccentricity", "T_oa", "i_o",
                                         "OMEGA_dot", "sq. root A", "OMEGA 0", "omega", "M o"};
  const auto panels = windows->almanacData->valuePanels();
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto* label = windows->almanacData->findChild<QLabel*>(
        QStringLiteral("Label_") + panels[i]->objectName().mid(6));
    ASSERT_NE(label, nullptr) << i;
    EXPECT_EQ(label->text(), QString::fromLatin1(almanacCaptions[i]));
    EXPECT_LT(label->x(), panels[i]->x());
    if (i > 0) {
      EXPECT_GT(panels[i]->y(), panels[i - 1]->y()) << "window order";
    }
  }

  auto& health = windows->almHealth->controls.Panel_SV;
  EXPECT_EQ(health[0]->objectName(), QStringLiteral("Panel_SV1"));
  EXPECT_EQ(health[8]->x(), health[15]->x()) << "SV 9..16 share the second column";
  EXPECT_GT(health[8]->x(), health[7]->x());
  EXPECT_EQ(health[0]->y(), health[24]->y());
  auto* note = windows->almHealth->findChild<QLabel*>(QStringLiteral("Label_Note"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(), QStringLiteral("Note:  A value \"0\" indicates that the satellite is healthy."));
}

TEST_F(ViewWindowsTest, TrackingTitlesLineUpWithTheFixedPitchRows) {
  reports::TForm_Track& w = *windows->track;
  ValuePanel* row = w.controls.Panel_TS[0];
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
  for (std::size_t i = 0; i < w.controls.Label_Column.size(); ++i) {
    QLabel* title = w.controls.Label_Column[i];
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
  ValuePanel* list = w.controls.Panel_SVSel;
  EXPECT_EQ(list->font(), row->font());
  EXPECT_LE(fm.horizontalAdvance(QString(12 * 4, QLatin1Char('0'))),
            list->contentsRect().width() - list->indent())
      << "twelve selected satellites fit on one line";
  for (std::size_t i = 1; i < w.controls.Panel_TS.size(); ++i) {
    EXPECT_EQ(w.controls.Panel_TS[i]->x(), row->x());
    EXPECT_GT(w.controls.Panel_TS[i]->y(), w.controls.Panel_TS[i - 1]->y());
  }
}

TEST_F(ViewWindowsTest, WindowMenuOpensEachWindow) {
  const struct {
    QAction* item;
    const char* caption;
    QWidget* window;
  } items[] = {
      {main().menu.WindowAddTiming, "Additional Timing &Packets...", windows->addTiming.get()},
      {main().menu.WindowVelAndPos, "&Velocity && Positioning...", windows->velPos.get()},
      {main().menu.ViewTrack, "&Track Status...", windows->track.get()},
      {main().menu.ViewRawMeas, "&Raw Measurement Data...", windows->rawMeas.get()},
      {main().menu.ViewEphemerisStatus, "&Ephemeris Status...", windows->ephemStat.get()},
      {main().menu.ViewAlmanacData, "&Almanac Data...", windows->almanacData.get()},
      {main().menu.ViewHealth, "Almanac &Health Page...", windows->almHealth.get()},
  };
  for (const auto& k : items) {
    SCOPED_TRACE(k.caption);
    EXPECT_EQ(k.item->text(), QString::fromLatin1(k.caption));
    EXPECT_FALSE(k.window->isVisible());
    k.item->trigger();
    EXPECT_TRUE(k.window->isVisible());
    k.window->hide();
  }
  // The satellite table's title opens the Tracking Status window too.
  main().controls.Label_SVDataTitle->clicked();
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
