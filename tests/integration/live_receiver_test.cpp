// Halvix started through the program entry against the simulated receiver,
// driven tick by tick on virtual time: after start-up the main window and the
// view windows show the receiver live; when the receiver falls silent the
// panels are blanked once, about 6 s later, and fill again when it returns.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "app/main_window.h"
#include "app/program.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "link/serial_device.h"
#include "reports/add_timing_window.h"
#include "reports/formatters.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "reports/track_window.h"
#include "widgets/value_panel.h"
#include "reports/vel_pos_window.h"
#include "sim/sim_options.h"
#include "sim/simulated_device.h"
#include "tests/integration/sim_program.h"
#include "tests/support/memory_settings.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using halvix::widgets::ValuePanel;
using namespace halvix::testing;

namespace {

class LiveReceiverTest : public halvix::testing::SimProgramTest {
 protected:

  app::TForm_Main::Controls& mc() { return main().testControls(); }

  // The receiver's GPS time now, from its own clock.
  std::int64_t receiverGpsMs() {
    auto* sim = dynamic_cast<sim::SimulatedDevice*>(&cable->inner());
    return sim != nullptr ? sim->model().gpsMsAt(clock.nowMs()) : -1;
  }

  void expectLive(const char* source) {
    SCOPED_TRACE(source);
    // Time: week and time of week of the receiver's own clock.
    const std::int64_t gpsMs = receiverGpsMs();
    ASSERT_GT(gpsMs, 0);
    const auto week = gpsMs / 604'800'000;
    const double tow = static_cast<double>(gpsMs % 604'800'000) / 1000.0;
    EXPECT_EQ(mc().Panel_WeekNum->text(), QString::number(week));
    EXPECT_NEAR(mc().Panel_TOW->text().toDouble(), tow, 3.0);
    EXPECT_EQ(mc().Panel_Time->text().size(), 8) << mc().Panel_Time->text().toStdString();
    EXPECT_FALSE(mc().Panel_Date->text().trimmed().isEmpty());
    EXPECT_FALSE(mc().Panel_UTCOffset->text().isEmpty());

    // Position near the antenna (47.572 N, 8.542 E, 412 m).
    EXPECT_NEAR(mc().Panel_Latitude->text().toDouble(), 47.5721, 0.01);
    EXPECT_NEAR(mc().Panel_Longitude->text().toDouble(), 8.5417, 0.01);
    EXPECT_NEAR(mc().Panel_Altitude->text().toDouble(), 412.0, 50.0);
    EXPECT_FALSE(mc().Panel_Mode->text().trimmed().isEmpty());

    // Timing outputs, survey and lamps from the supplemental timing report.
    for (ValuePanel* p : {mc().Panel_PPSOffset, mc().Panel_10MHz, mc().Panel_Quantization,
                          mc().Panel_SelfSurvey}) {
      EXPECT_FALSE(p->text().isEmpty()) << p->objectName().toStdString();
      EXPECT_TRUE(p->isLive()) << p->objectName().toStdString();
    }
    EXPECT_FALSE(mc().Shape_PPS->is(widgets::kLampIdle));
    for (int bit : {3, 5, 6, 7, 8, 9, 10, 11}) {
      EXPECT_FALSE(mc().Shape_Bit[static_cast<std::size_t>(bit)]->is(widgets::kLampIdle)) << bit;
    }

    // Twelve satellites, in the main table and the Tracking Status rows.
    int usedForFixes = 0;
    for (std::size_t i = 0; i < 12; ++i) {
      EXPECT_GT(mc().Panel_SV[i]->text().trimmed().toInt(), 0) << "row " << i + 1;
      EXPECT_GT(mc().Panel_AMU[i]->text().toDouble(), 0.0) << "row " << i + 1;
      EXPECT_EQ(windows().track->testControls().Panel_TS[i]->text().size(), 47) << "row " << i + 1;
      if (mc().Panel_SV[i]->color() == QColor::fromRgb(widgets::kPanelGreen)) ++usedForFixes;
    }
    EXPECT_GE(usedForFixes, 4);
    EXPECT_FALSE(windows().track->testControls().Panel_SVSel->text().isEmpty());
    EXPECT_FALSE(windows().track->testControls().Panel_PDOP->text().isEmpty());
  }
};

TEST_F(LiveReceiverTest, ShowsTheReceiverLiveFromTheTimeAndComprehensiveReports) {
  startPolling(false);
  runSeconds(90);
  expectLive("0x41 and 0x8F-0B");
  EXPECT_EQ(mc().Panel_Timing->toolTip(), QStringLiteral("Time: Packet 0x41"));
  EXPECT_EQ(mc().Panel_Position->toolTip(), QStringLiteral("Position: Packet 8F-0B"));
  EXPECT_EQ(mc().Label_TimeType->text(), QStringLiteral("GPS"));
}

TEST_F(LiveReceiverTest, ShowsTheReceiverLiveFromTheTimingPackets) {
  startPolling(true);
  runSeconds(90);
  expectLive("0x8F-AB and 0x8F-AC");
  EXPECT_EQ(mc().Panel_Timing->toolTip(), QStringLiteral("Time: Packet 8F-AB"));
  EXPECT_EQ(mc().Panel_Position->toolTip(), QStringLiteral("Position: Packet 8F-AC"));
  EXPECT_FALSE(mc().Panel_Status->text().isEmpty());
}

TEST_F(LiveReceiverTest, SilenceBlanksThePanelsOnceAndTheReturnFillsThemAgain) {
  startPolling(false);
  runSeconds(60);
  ASSERT_FALSE(mc().Panel_Time->text().isEmpty());
  ASSERT_GT(mc().Panel_SV[0]->text().trimmed().toInt(), 0);

  cable->setConnected(false);
  const std::int64_t silentFrom = clock.nowMs();
  std::int64_t blankedAt = -1;
  for (int i = 0; i < 60 && blankedAt < 0; ++i) {
    tick();
    if (mc().Panel_Time->text().isEmpty()) blankedAt = clock.nowMs();
  }
  ASSERT_GE(blankedAt, 0) << "the time panels were never blanked";
  // The last report may have come up to a round before the cable was cut.
  EXPECT_GE(blankedAt - silentFrom, 4800);
  EXPECT_LE(blankedAt - silentFrom, 7400);
  for (ValuePanel* p : {mc().Panel_Date, mc().Panel_TOW, mc().Panel_Latitude, mc().Panel_Altitude,
                        mc().Panel_Mode}) {
    EXPECT_TRUE(p->text().isEmpty()) << p->objectName().toStdString();
  }
  EXPECT_TRUE(mc().Panel_PPSOffset->isGreyed()) << "timing panels greyed while not polled";
  EXPECT_TRUE(mc().Shape_Bit[3]->is(widgets::kLampIdle));

  // Once per silence: what is shown afterwards stays.
  mc().Panel_Time->setText(QStringLiteral("probe"));
  runSeconds(10);
  EXPECT_EQ(mc().Panel_Time->text(), QStringLiteral("probe"));
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(mc().Panel_SV[i]->text(), QStringLiteral("0")) << "row " << i + 1;
    EXPECT_EQ(mc().Panel_AMU[i]->text(), QStringLiteral("0.0")) << "row " << i + 1;
    EXPECT_TRUE(windows().track->testControls().Panel_TS[i]->text().isEmpty());
  }

  cable->setConnected(true);
  runSeconds(5);
  EXPECT_NE(mc().Panel_Time->text(), QStringLiteral("probe"));
  EXPECT_EQ(mc().Panel_Time->text().size(), 8);
  EXPECT_FALSE(mc().Panel_Latitude->text().isEmpty());
  EXPECT_TRUE(mc().Panel_PPSOffset->isLive());
  EXPECT_GT(mc().Panel_SV[0]->text().trimmed().toInt(), 0);
}

TEST_F(LiveReceiverTest, ViewWindowsFillFromTheReceiver) {
  startPolling(false);
  runSeconds(60);
  // The Additional Timing Packets window asks for its two reports.
  windows().addTiming->FormActivate();
  runSeconds(2);
  auto& at = windows().addTiming->testControls();
  EXPECT_FALSE(at.Panel_PrimaryUTCTime->text().trimmed().isEmpty());
  EXPECT_FALSE(at.Panel_GPSTime->text().trimmed().isEmpty());
  EXPECT_FALSE(at.Panel_RecMode->text().trimmed().isEmpty());
  EXPECT_EQ(at.Panel_NorthSouth->text(), QStringLiteral("N"));
  EXPECT_EQ(at.Panel_EastWest->text(), QStringLiteral("E"));
  EXPECT_EQ(at.Panel_LatDeg->text(), QStringLiteral("47\u00B0"));

  // "Packets On" turns on the automatic position and velocity reports; the
  // receiver's I/O options choose double-precision LLA and ENU velocity.
  auto& vp = windows().velPos->testControls();
  EXPECT_TRUE(vp.Panel_Latitude->text().isEmpty());
  main().Control_PacketsOnClick();
  runSeconds(3);
  EXPECT_NEAR(vp.Panel_Latitude->text().toDouble(), 47.5721, 0.01);
  EXPECT_NEAR(vp.Panel_Longitude->text().toDouble(), 8.5417, 0.01);
  EXPECT_NEAR(vp.Panel_Altitude->text().toDouble(), 412.0, 50.0);
  EXPECT_EQ(vp.Panel_LLAPosition->toolTip(), QStringLiteral("Double Precision LLA Position: Packet 0x84"));
  for (ValuePanel* p : {vp.Panel_LLABias, vp.Panel_East, vp.Panel_North, vp.Panel_Up, vp.Panel_ENUBiasRate}) {
    EXPECT_FALSE(p->text().trimmed().isEmpty()) << p->objectName().toStdString();
  }

  // Event capture: the receiver answers the RTS pulse with its event time.
  at.Button_Event->click();
  runSeconds(3);
  EXPECT_FALSE(at.Panel_EventCounter->text().trimmed().isEmpty());
  EXPECT_FALSE(at.Panel_EventTime->text().trimmed().isEmpty());
}

}  // namespace
