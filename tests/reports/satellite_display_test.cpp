// The satellite reports as shown: the main window's twelve-row table with its
// colours and row expiry, the Tracking Status rows and selection list, and the
// raw measurement, ephemeris, almanac and health windows with their queries.
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>

#include "reports/ephem_stat_window.h"
#include "reports/raw_meas_window.h"
#include "reports/satellite_decoders.h"
#include "reports/track_window.h"
#include "tests/reports/display_fixture.h"
#include "tools/alm_health_window.h"
#include "tools/almanac_data_window.h"

using namespace halvix;
using halvix::widgets::ValuePanel;
using namespace halvix::testing;

namespace {

PayloadWriter Tracking(int sv, int channel, float amu = 12.5f) {
  PayloadWriter p(24);
  p.byte(0, static_cast<std::uint8_t>(sv)).byte(1, static_cast<std::uint8_t>(channel << 3));
  p.byte(2, 1).byte(3, 1).single(4, amu).single(8, 1234.0f).single(12, 0.7854f).single(16, 3.1416f);
  return p;
}

PayloadWriter Selection(std::initializer_list<int> svs) {
  PayloadWriter p(17 + static_cast<int>(svs.size()));
  p.byte(0, 0x0B).single(1, 1.94f).single(5, 1.0f).single(9, 1.66f).single(13, 0.95f);
  int k = 17;
  for (int sv : svs) p.byte(k++, static_cast<std::uint8_t>(static_cast<std::int8_t>(sv)));
  return p;
}

class SatelliteDisplayTest : public DisplayTest {
 protected:
  reports::TForm_Track::Controls& tr() { return windows->track->testControls(); }
};

TEST_F(SatelliteDisplayTest, TrackingStatusFillsItsRowInBothWindows) {
  feed(0x5C, Tracking(17, 3));
  EXPECT_EQ(mc().Panel_SV[3]->text(), QStringLiteral("17"));
  EXPECT_EQ(mc().Panel_AMU[3]->text(), QStringLiteral(" 12.5"));
  EXPECT_EQ(tr().Panel_TS[3]->text(),
            QStringLiteral(" 17   4    1   1    12.5    1234.0  45.0  180.0"));
  EXPECT_EQ(display().svRowCountdown[3], 5);
  EXPECT_TRUE(mc().Panel_SV[3]->isLive()) << "not in any selection yet";
  for (int row : {0, 1, 2, 4, 11}) EXPECT_EQ(mc().Panel_SV[static_cast<std::size_t>(row)]->text(), QStringLiteral("0"));

  // Channel 12 has no row; nor does a report of another length.
  const auto before = display().svRowCountdown;
  feed(0x5C, Tracking(9, 12));
  feed(0x5C, PayloadWriter(23));
  feed(0x5C, PayloadWriter(25));
  EXPECT_EQ(display().svRowCountdown, before);
  for (ValuePanel* p : mc().Panel_SV) {
    if (p != mc().Panel_SV[3]) {
      EXPECT_EQ(p->text(), QStringLiteral("0"));
    }
  }
  for (ValuePanel* p : tr().Panel_TS) {
    if (p != tr().Panel_TS[3]) {
      EXPECT_TRUE(p->text().isEmpty());
    }
  }
}

TEST_F(SatelliteDisplayTest, SelectionColoursEachRowAtItsNextTrackingReport) {
  feed(0x6D, Selection({5, -12, 0}));
  EXPECT_EQ(tr().Panel_SVSel->text(), QStringLiteral("   5 -12   0"));
  EXPECT_EQ(tr().Panel_PDOP->text(), QStringLiteral("1.9"));
  EXPECT_EQ(tr().Panel_HDOP->text(), QStringLiteral("1.0"));
  EXPECT_EQ(tr().Panel_VDOP->text(), QStringLiteral("1.7"));
  EXPECT_EQ(tr().Panel_TDOP->text(), QStringLiteral("0.9"));
  EXPECT_TRUE(mc().Panel_SV[0]->isLive()) << "no recolouring by the selection itself";

  feed(0x5C, Tracking(12, 0));
  feed(0x5C, Tracking(5, 1));
  feed(0x5C, Tracking(7, 2));
  feed(0x5C, Tracking(0, 4));
  EXPECT_EQ(mc().Panel_SV[0]->color(), Rgb(widgets::kPanelYellow));
  EXPECT_EQ(mc().Panel_SV[1]->color(), Rgb(widgets::kPanelGreen));
  EXPECT_TRUE(mc().Panel_SV[2]->isLive());
  EXPECT_TRUE(mc().Panel_SV[4]->isLive()) << "satellite 0 is never in the selection";

  // A selection without satellites clears the list and the colours follow.
  feed(0x6D, Selection({}));
  EXPECT_TRUE(tr().Panel_SVSel->text().isEmpty());
  EXPECT_EQ(mc().Panel_SV[1]->color(), Rgb(widgets::kPanelGreen));
  feed(0x5C, Tracking(5, 1));
  EXPECT_TRUE(mc().Panel_SV[1]->isLive());

  // Too short: nothing.
  feed(0x6D, PayloadWriter(16));
  EXPECT_EQ(tr().Panel_PDOP->text(), QStringLiteral("1.9"));
}

TEST_F(SatelliteDisplayTest, LongSelectionListsEveryByteButColoursWithTheFirstTwelve) {
  PayloadWriter p(17 + 40);
  for (int k = 0; k < 40; ++k) p.byte(17 + k, static_cast<std::uint8_t>(k + 1));
  feed(0x6D, p);
  EXPECT_EQ(tr().Panel_SVSel->text().size(), 40 * 4);
  feed(0x5C, Tracking(12, 0));
  feed(0x5C, Tracking(13, 1));
  EXPECT_EQ(mc().Panel_SV[0]->color(), Rgb(widgets::kPanelGreen));
  EXPECT_TRUE(mc().Panel_SV[1]->isLive());
}

TEST_F(SatelliteDisplayTest, SilentRowsAreBlankedOnceAfterFiveRounds) {
  feed(0x6D, Selection({17}));
  feed(0x5C, Tracking(17, 3));
  ASSERT_EQ(mc().Panel_SV[3]->color(), Rgb(widgets::kPanelGreen));
  for (int round = 1; round <= 4; ++round) {
    main().hooks.ageSatelliteRows();
    EXPECT_EQ(mc().Panel_SV[3]->text(), QStringLiteral("17")) << round;
  }
  main().hooks.ageSatelliteRows();
  EXPECT_EQ(mc().Panel_SV[3]->text(), QStringLiteral("0"));
  EXPECT_EQ(mc().Panel_AMU[3]->text(), QStringLiteral("0.0"));
  EXPECT_TRUE(mc().Panel_SV[3]->isLive());
  EXPECT_TRUE(tr().Panel_TS[3]->text().isEmpty());
  EXPECT_EQ(display().svRowCountdown[3], 0);

  // Blanked once: a later change to the row is left alone by further ageing.
  mc().Panel_SV[3]->setText(QStringLiteral("x"));
  main().hooks.ageSatelliteRows();
  EXPECT_EQ(mc().Panel_SV[3]->text(), QStringLiteral("x"));
}

TEST_F(SatelliteDisplayTest, RowsOutsideTheTablesAreIgnored) {
  reports::MainView& view = main();
  for (int row : {-1, reports::kSvRows, 1000}) {
    view.showSatelliteRow(row, QStringLiteral("99"), QStringLiteral("9.9"), reports::SvColour::Green);
    view.showIdleSatelliteRow(row);
    windows->track->showTrackingRow(row, QStringLiteral("x"));
    windows->track->clearTrackingRow(row);
  }
  for (std::size_t i = 0; i < mc().Panel_SV.size(); ++i) {
    EXPECT_EQ(mc().Panel_SV[i]->text(), QStringLiteral("0")) << i;
    EXPECT_NE(tr().Panel_TS[i]->text(), QStringLiteral("x")) << i;
  }
}

TEST_F(SatelliteDisplayTest, RawMeasurementsFollowTheSelectedTab) {
  reports::TForm_RawMeas& w = *windows->rawMeas;
  EXPECT_EQ(w.selectedSatellite(), 1);
  w.testControls().TabControl_SV->setCurrentIndex(4);
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x3A, 0x05}}));

  PayloadWriter p(25);
  p.byte(0, 3).single(1, 4.0f).single(5, 15.2f).single(9, 123.5f).single(13, -1234.567f).dbl(17, 86399.12);
  feed(0x5A, p);
  for (ValuePanel* v : w.valuePanels()) EXPECT_TRUE(v->text().isEmpty());

  p.byte(0, 5);
  feed(0x5A, p);
  EXPECT_EQ(w.testControls().Panel_SampleLen->text(), QStringLiteral("4.000000"));
  EXPECT_EQ(w.testControls().Panel_SignalLevel->text(), QStringLiteral("15.2"));
  EXPECT_EQ(w.testControls().Panel_CodePhase->text(), QStringLiteral("123.500000"));
  EXPECT_EQ(w.testControls().Panel_Doppler->text(), QStringLiteral("-1234.57"));
  EXPECT_EQ(w.testControls().Panel_Time->text(), QStringLiteral("86399.12"));

  w.testControls().Button_Refresh->click();
  for (ValuePanel* v : w.valuePanels()) EXPECT_TRUE(v->text().isEmpty());
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x3A, 0x05}}));
  w.FormActivate();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x3A, 0x05}}));
}

TEST_F(SatelliteDisplayTest, EphemerisStatusSelectsItsSatelliteWithoutAQuery) {
  reports::TForm_EphemStat& w = *windows->ephemStat;
  EXPECT_EQ(w.testControls().ComboBox_SV->currentText(), QStringLiteral("1"));
  PayloadWriter p(16);
  p.byte(0, 9).single(1, 3600.5f).byte(5, 0x3F).byte(6, 0x0A).single(7, 7200.0f).byte(11, 1).single(12, 2.4f);
  feed(0x5B, p);
  EXPECT_EQ(w.testControls().ComboBox_SV->currentText(), QStringLiteral("9"));
  EXPECT_TRUE(sent().empty());
  EXPECT_EQ(w.testControls().Panel_Time->text(), QStringLiteral("3600.50"));
  EXPECT_EQ(w.testControls().Panel_Health->text(), QStringLiteral("3F"));
  EXPECT_EQ(w.testControls().Panel_IODE->text(), QStringLiteral("0A"));
  EXPECT_EQ(w.testControls().Panel_toe->text(), QStringLiteral("7200.00"));
  EXPECT_EQ(w.testControls().Panel_FitFlag->text(), QStringLiteral("1"));
  EXPECT_EQ(w.testControls().Panel_Accuracy->text(), QStringLiteral("2.40"));

  w.testControls().Button_Refresh->click();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x3B, 0x09}}));
  for (ValuePanel* v : w.valuePanels()) EXPECT_TRUE(v->text().isEmpty());

  // Satellite 0 or above 32 selects no item.
  p.byte(0, 33);
  feed(0x5B, p);
  EXPECT_EQ(w.testControls().ComboBox_SV->currentIndex(), -1);
  EXPECT_EQ(w.testControls().Panel_Health->text(), QStringLiteral("3F"));

  feed(0x5B, PayloadWriter(15));
  EXPECT_EQ(w.testControls().Panel_Health->text(), QStringLiteral("3F"));
}

TEST_F(SatelliteDisplayTest, AlmanacDataOnlyForTheChosenSatellite) {
  tools::TForm_AlmanacData& w = *windows->almanacData;
  w.testControls().ComboBox_SV->setCurrentIndex(11);
  w.ComboBox_SVChange();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x20, 0x0C}}));

  PayloadWriter p(39);
  p.byte(0, 11).single(1, 61440.0f).word(5, 1400).single(7, 0.0123f);
  feed(0x40, p);
  for (ValuePanel* v : w.valuePanels()) EXPECT_TRUE(v->text().isEmpty());

  p.byte(0, 12);
  feed(0x40, p);
  EXPECT_EQ(w.testControls().Panel_T_zc->text(), QStringLiteral("61440"));
  EXPECT_EQ(w.testControls().Panel_WeekNum->text(), QStringLiteral("1400"));
  EXPECT_EQ(w.testControls().Panel_Eccentricity->text(), QStringLiteral("0.012300"));
  EXPECT_EQ(w.testControls().Panel_Mo->text(), QStringLiteral("0.000000"));

  w.testControls().Button_Query->click();
  for (ValuePanel* v : w.valuePanels()) EXPECT_TRUE(v->text().isEmpty());
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x20, 0x0C}}));
  feed(0x40, PayloadWriter(38).byte(0, 12));
  EXPECT_TRUE(w.testControls().Panel_T_zc->text().isEmpty());
}

TEST_F(SatelliteDisplayTest, HealthPageShowsEachSatelliteInHex) {
  tools::TForm_AlmHealth& w = *windows->almHealth;
  PayloadWriter p(32);
  p.byte(0, 0x3F).byte(31, 0x01);
  feed(0x49, p);
  EXPECT_EQ(w.testControls().Panel_SV[0]->text(), QStringLiteral("3F"));
  EXPECT_EQ(w.testControls().Panel_SV[1]->text(), QStringLiteral("0"));
  EXPECT_EQ(w.testControls().Panel_SV[31]->text(), QStringLiteral("1"));

  w.testControls().Button_Query->click();
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x29}}));
  for (ValuePanel* v : w.testControls().Panel_SV) EXPECT_TRUE(v->text().isEmpty());
  feed(0x49, PayloadWriter(33));
  EXPECT_TRUE(w.testControls().Panel_SV[0]->text().isEmpty());
}

}  // namespace
