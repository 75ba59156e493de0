// The time, position and velocity reports as shown: report 0x41 in the main
// window's time group (only while the timing packets are not polled), the
// Velocity and Positioning window with its source hints, the 2D reference
// altitude, and the comprehensive time report in the Additional Timing
// Packets window and the main window.
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "commands/altitude_dialog.h"
#include "reports/add_timing_window.h"
#include "widgets/group_panel.h"
#include "reports/vel_pos_window.h"
#include "tests/reports/display_fixture.h"

using namespace halvix;
using halvix::widgets::ValuePanel;
using namespace halvix::testing;

namespace {

PayloadWriter GpsTime(float tow, std::uint16_t week, float offset) {
  PayloadWriter p(10);
  p.single(0, tow).word(4, week).single(6, offset);
  return p;
}

PayloadWriter Comprehensive(double tow, std::int16_t offset) {
  return halvix::testing::ComprehensiveTimePayload(
      {.timeOfWeek = tow, .day = 9, .month = 11, .year = 2006, .receiverMode = 1,
       .utcOffset = offset, .oscillatorBias = 1.5, .oscillatorDrift = -0.25,
       .biasUncertainty = 2.0f, .driftUncertainty = 0.125f, .latitude = -0.5847, .longitude = 2.0,
       .altitude = 1234.5678, .satellites = {5, -12, 0, 31, 0, 0, 0, 1}});
}

class PositionDisplayTest : public DisplayTest {
 protected:
  reports::TForm_VelPos::Controls& vp() { return windows->velPos->testControls(); }
  reports::TForm_AddTiming::Controls& at() { return windows->addTiming->testControls(); }
};

TEST_F(PositionDisplayTest, GpsTimeFillsTheTimeGroupWhileTheTimingPacketsAreNotPolled) {
  feed(0x41, GpsTime(-1.0f, 1400, 14.0f));
  EXPECT_EQ(mc().Panel_TOW->text(), QStringLiteral("-1"));
  EXPECT_EQ(mc().Panel_Time->text(), QStringLiteral("<No time yet>"));
  EXPECT_EQ(display().timeReportCountdown, 5);
  // Not the eve of the GPS epoch: no time, no date.
  feed(0x41, GpsTime(-1.0f, 0, 0.0f));
  EXPECT_EQ(mc().Panel_Date->text(), QString());

  mc().Label_TimeType->setText(QStringLiteral("UTC"));
  feed(0x41, GpsTime(100000.0f, 1400, 14.0f));
  EXPECT_EQ(mc().Panel_TOW->text(), QStringLiteral("100000"));
  EXPECT_EQ(mc().Panel_WeekNum->text(), QStringLiteral("1400"));
  EXPECT_EQ(mc().Panel_UTCOffset->text(), QStringLiteral("14"));
  EXPECT_EQ(mc().Panel_Time->text(), QStringLiteral("03:46:40")) << "time only, no weekday";
  EXPECT_EQ(mc().Panel_Date->text(), QStringLiteral(" Nov 6, 2006")) << "GPS date, no offset";
  EXPECT_EQ(mc().Label_TimeType->text(), QStringLiteral("GPS"));
  EXPECT_EQ(mc().Panel_Timing->toolTip(), QStringLiteral("Time: Packet 0x41"));

  // While the timing packets are polled, 0x41 is ignored and no watchdog reload.
  setPolling(true);
  display().timeReportCountdown = -2;
  feed(0x41, GpsTime(200000.0f, 1401, 15.0f));
  EXPECT_EQ(mc().Panel_TOW->text(), QStringLiteral("100000"));
  EXPECT_EQ(display().timeReportCountdown, -2);

  setPolling(false);
  PayloadWriter wrong(11);
  feed(0x41, wrong);
  EXPECT_EQ(display().timeReportCountdown, -2);
}

TEST_F(PositionDisplayTest, PositionAndVelocityReportsFillTheirGroupsAndNameTheirSource) {
  PayloadWriter xyz(16);
  xyz.single(0, 1.005f).single(4, -2.5f).single(8, 3.0f).single(12, 99.0f);
  vp().Panel_ECEFBias->setText(QStringLiteral("keep"));
  feed(0x42, xyz);
  EXPECT_EQ(vp().Panel_ECEFPosition->toolTip(), QStringLiteral("Single Precision ECEF Position: Packet 0x42"));
  EXPECT_EQ(vp().Panel_PosY->text(), QStringLiteral("-2.50"));
  EXPECT_EQ(vp().Panel_PosZ->text(), QStringLiteral("3.00"));
  EXPECT_EQ(vp().Panel_ECEFBias->text(), QStringLiteral("keep"));

  PayloadWriter xyz2(36);
  xyz2.dbl(0, -2700000.1234).dbl(8, 1.0).dbl(16, 2.0).dbl(24, 17.256);
  feed(0x83, xyz2);
  EXPECT_EQ(vp().Panel_ECEFPosition->toolTip(), QStringLiteral("Double Precision ECEF Position: Packet 0x83"));
  EXPECT_EQ(vp().Panel_PosX->text(), QStringLiteral("-2700000.123"));
  EXPECT_EQ(vp().Panel_ECEFBias->text(), QStringLiteral("17.26"));

  PayloadWriter lla(20);
  lla.single(0, 0.5f).single(4, -1.0f).single(8, 250.2f).single(12, 3.12f);
  feed(0x4A, lla);
  EXPECT_EQ(vp().Panel_LLAPosition->toolTip(), QStringLiteral("Single Precision LLA Position: Packet 0x4A"));
  EXPECT_EQ(vp().Panel_Longitude->text(), QStringLiteral("-57.295828"));
  EXPECT_EQ(vp().Panel_Altitude->text(), QStringLiteral("250.2"));
  EXPECT_EQ(vp().Panel_LLABias->text(), QStringLiteral("3.12"));

  PayloadWriter lla2(36);
  lla2.dbl(0, 0.0).dbl(8, M_PI / 2).dbl(16, 10.0).dbl(24, -1.0);
  feed(0x84, lla2);
  EXPECT_EQ(vp().Panel_LLAPosition->toolTip(), QStringLiteral("Double Precision LLA Position: Packet 0x84"));
  EXPECT_EQ(vp().Panel_Latitude->text(), QStringLiteral("0.000000"));
  EXPECT_EQ(vp().Panel_Longitude->text(), QStringLiteral("90.000076")) << "short pi";
  EXPECT_EQ(vp().Panel_Altitude->text(), QStringLiteral("10.000"));

  PayloadWriter vel(20);
  vel.single(0, 0.1f).single(4, 0.2f).single(8, -0.3f).single(12, 4.0f);
  feed(0x43, vel);
  feed(0x56, vel);
  EXPECT_EQ(vp().Panel_VelZ->text(), QStringLiteral("-0.30"));
  EXPECT_EQ(vp().Panel_BiasRate->text(), QStringLiteral("4.00"));
  EXPECT_EQ(vp().Panel_North->text(), QStringLiteral("0.20"));
  EXPECT_EQ(vp().Panel_ENUBiasRate->text(), QStringLiteral("4.00"));
  EXPECT_EQ(vp().Panel_LLAPosition->toolTip(), QStringLiteral("Double Precision LLA Position: Packet 0x84"))
      << "velocity reports name no source";

  // Wrong lengths change nothing.
  feed(0x42, PayloadWriter(17));
  feed(0x43, PayloadWriter(16));
  feed(0x83, PayloadWriter(35));
  feed(0x84, PayloadWriter(37));
  EXPECT_EQ(vp().Panel_PosY->text(), QStringLiteral("1.000"));
  EXPECT_EQ(vp().Panel_VelZ->text(), QStringLiteral("-0.30"));
  EXPECT_EQ(vp().Panel_Latitude->text(), QStringLiteral("0.000000"));
}

TEST_F(PositionDisplayTest, ClearingTheVelocityWindowBlanksValuesAndKeepsHints) {
  PayloadWriter lla(20);
  feed(0x4A, lla);
  windows->velPos->show();
  windows->velPos->testControls().Button1->click();
  for (ValuePanel* p : windows->velPos->valuePanels()) EXPECT_EQ(p->text(), QStringLiteral(" "));
  EXPECT_EQ(vp().Panel_LLAPosition->toolTip(), QStringLiteral("Single Precision LLA Position: Packet 0x4A"));

  feed(0x4A, lla);
  EXPECT_EQ(vp().Panel_Latitude->text(), QStringLiteral("0.000000"));
  windows->velPos->testControls().Button_Close->click();
  EXPECT_FALSE(windows->velPos->isVisible());
  EXPECT_EQ(vp().Panel_Latitude->text(), QStringLiteral(" ")) << "closing clears";
}

TEST_F(PositionDisplayTest, ReferenceAltitudeGoesOnlyToTheAltitudeDialogAndTheResetTest) {
  auto* edit = windows->altitude->findChild<QLineEdit*>(QStringLiteral("Edit_Altitude"));
  ASSERT_NE(edit, nullptr);
  PayloadWriter alt(9);
  alt.single(0, 100.0f);
  feed(0x4A, alt);
  EXPECT_EQ(edit->text(), QStringLiteral("100.000"));
  ASSERT_EQ(referenceAltitudes.size(), 1u);
  EXPECT_EQ(referenceAltitudes[0], 100.0f);
  EXPECT_TRUE(vp().Panel_Altitude->text().isEmpty()) << "never the position window";

  PayloadWriter lla(20);
  lla.single(8, 55.0f);
  feed(0x4A, lla);
  EXPECT_EQ(edit->text(), QStringLiteral("100.000"));
  EXPECT_EQ(referenceAltitudes.size(), 1u);
  for (int length : {8, 10, 21}) feed(0x4A, PayloadWriter(length));
  EXPECT_EQ(referenceAltitudes.size(), 1u);
  EXPECT_EQ(vp().Panel_Altitude->text(), QStringLiteral("55.0"));
}

TEST_F(PositionDisplayTest, ComprehensiveTimeChoosesTheTimeScaleBySign) {
  feedSuper(Comprehensive(100000.0, -14));
  EXPECT_EQ(at().Panel_GPSTime->text(), QStringLiteral("Mon 03:46:40"));
  EXPECT_EQ(at().Panel_UTCTime->text(), QStringLiteral("Mon 03:46:26"));
  EXPECT_TRUE(at().Panel_UTCTime->isLive());
  EXPECT_EQ(at().Panel_UTCOffset->text(), QStringLiteral("14"));
  EXPECT_EQ(at().Panel_TOW->text(), QStringLiteral("100000.00"));
  EXPECT_EQ(at().Panel_Date->text(), QStringLiteral("Nov 9, 2006"));

  feedSuper(Comprehensive(100000.0, 0));
  EXPECT_EQ(at().Panel_GPSTime->text(), QStringLiteral("Mon 03:46:40"));
  EXPECT_TRUE(at().Panel_UTCTime->text().isEmpty());
  EXPECT_TRUE(at().Panel_UTCTime->isGreyed());
  EXPECT_EQ(at().Panel_UTCOffset->text(), QStringLiteral("0"));

  feedSuper(Comprehensive(100000.0, 14));
  EXPECT_EQ(at().Panel_GPSTime->text(), QStringLiteral("Mon 03:46:54"));
  EXPECT_EQ(at().Panel_UTCTime->text(), QStringLiteral("Mon 03:46:40"));
  EXPECT_TRUE(at().Panel_UTCTime->isLive());
}

TEST_F(PositionDisplayTest, ComprehensiveTimeOscillatorPositionAndSatellites) {
  feedSuper(Comprehensive(100000.0, -14));
  EXPECT_EQ(at().Panel_RecMode->text(), QStringLiteral("Full Position (3D)"));
  EXPECT_EQ(at().Panel_Bias->text(), QStringLiteral("1.500"));
  EXPECT_EQ(at().Panel_DriftRate->text(), QStringLiteral("-0.250"));
  EXPECT_EQ(at().Panel_BiasUnc->text(), QStringLiteral("2.000"));
  EXPECT_EQ(at().Panel_DriftUnc->text(), QStringLiteral("0.125"));
  EXPECT_EQ(at().Panel_LatDeg->text(), QStringLiteral("33\u00B0"));
  EXPECT_EQ(at().Panel_LatMin->text(), QStringLiteral("30.0522'"));
  EXPECT_EQ(at().Panel_NorthSouth->text(), QStringLiteral("S"));
  EXPECT_EQ(at().Panel_EastWest->text(), QStringLiteral("E"));
  EXPECT_EQ(at().Panel_Alt->text(), QStringLiteral("1234.568"));

  const QColor aqua = Rgb(reports::TForm_AddTiming::kSatelliteUsedColour);
  EXPECT_EQ(at().Panel_SV[0]->text(), QStringLiteral("5"));
  EXPECT_EQ(at().Panel_SV[0]->color(), aqua);
  EXPECT_EQ(at().Panel_SV[1]->text(), QStringLiteral("12"));
  EXPECT_TRUE(at().Panel_SV[1]->isLive());
  EXPECT_TRUE(at().Panel_SV[2]->text().isEmpty());
  EXPECT_TRUE(at().Panel_SV[2]->isLive());
  EXPECT_EQ(at().Panel_SV[7]->color(), aqua);

  // Mode 0xFF is -1: outside the table.
  PayloadWriter p = Comprehensive(100000.0, -14);
  p.byte(15, 0xFF).byte(12, 0);
  feedSuper(p);
  EXPECT_EQ(at().Panel_RecMode->text(), QStringLiteral("Invalid Mode"));
  EXPECT_EQ(at().Panel_Date->text(), QStringLiteral("??? 9, 2006"));

  // Event reports carry the precise time; no event leaves the panels alone.
  EXPECT_TRUE(at().Panel_EventCounter->text().isEmpty());
  p.word(1, 3).dbl(3, 3723.25);
  feedSuper(p);
  EXPECT_EQ(at().Panel_EventCounter->text(), QStringLiteral("3"));
  EXPECT_EQ(at().Panel_EventTime->text(), QStringLiteral("1:02:03.250000000"));

  feedSuper(PayloadWriter(73).byte(0, 0x0B));
  EXPECT_EQ(at().Panel_EventCounter->text(), QStringLiteral("3"));
}

TEST_F(PositionDisplayTest, ComprehensiveTimeFeedsTheMainWindowOnlyWithoutPolling) {
  setPolling(false);
  feedSuper(Comprehensive(100000.0, -14));
  EXPECT_EQ(mc().Panel_Mode->text(), QStringLiteral("Full Position (3D)"));
  EXPECT_EQ(mc().Panel_Latitude->text(), QStringLiteral("-33.500871"));
  EXPECT_EQ(mc().Panel_Altitude->text(), QStringLiteral("1234.6"));
  EXPECT_EQ(mc().Panel_Position->toolTip(), QStringLiteral("Position: Packet 8F-0B"));
  EXPECT_EQ(display().timeReportCountdown, 0) << "no watchdog reload";

  main().LLAToggle();
  feedSuper(Comprehensive(100000.0, -14));
  EXPECT_EQ(mc().Panel_Latitude->text(), QStringLiteral("-33\u00B0 30' 3.134"));

  // Served by 0x41 and 0x8F-AB only.
  display().timeToPcPending = true;
  feedSuper(Comprehensive(100000.0, -14));
  EXPECT_TRUE(display().timeToPcPending);
  EXPECT_TRUE(pcClock.setRequests().empty());

  setPolling(true);
  mc().Panel_Mode->clear();
  mc().Panel_Latitude->clear();
  feedSuper(Comprehensive(100000.0, -14));
  EXPECT_TRUE(mc().Panel_Mode->text().isEmpty());
  EXPECT_TRUE(mc().Panel_Latitude->text().isEmpty());
}

TEST_F(PositionDisplayTest, AdditionalTimingRefreshClearAndEventCapture) {
  reports::TForm_AddTiming& w = *windows->addTiming;
  w.testControls().Button_Query->click();
  const auto& writes = device.writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_GE(writes[1].atMs - writes[0].atMs, 200) << "a pause between the two queries";
  EXPECT_EQ(sent(), (std::vector<halvix::testing::Bytes>{{0x8E, 0xAD}, {0x8E, 0x0B}}));

  w.testControls().Button_Event->click();
  EXPECT_EQ(device.rtsEvents(), (std::vector<bool>{true, false}));

  feedSuper(Comprehensive(100000.0, -14));
  PayloadWriter utc(22);
  utc.byte(0, 0xAD).word(1, 1).byte(19, 0xF1);
  feedSuper(utc);
  w.testControls().Button_Clear->click();
  const QString blank = QStringLiteral(" ");
  for (ValuePanel* p : {at().Panel_PrimaryUTCTime, at().Panel_UTCDate, at().Panel_Status,
                        at().Panel_EventCounter, at().Panel_EventTime, at().Panel_GPSTime,
                        at().Panel_UTCTime, at().Panel_TOW, at().Panel_Date, at().Panel_UTCOffset,
                        at().Panel_RecMode, at().Panel_Bias, at().Panel_BiasUnc, at().Panel_DriftRate,
                        at().Panel_DriftUnc, at().Panel_NorthSouth, at().Panel_LatDeg,
                        at().Panel_LatMin, at().Panel_EastWest, at().Panel_LonDeg, at().Panel_LonMin,
                        at().Panel_Alt}) {
    EXPECT_EQ(p->text(), blank) << p->objectName().toStdString();
  }
  for (ValuePanel* p : at().Panel_SV) EXPECT_EQ(p->text(), blank);
  EXPECT_EQ(at().Panel_SV[0]->color(), Rgb(reports::TForm_AddTiming::kSatelliteUsedColour))
      << "satellite panels keep their colours";
  for (int bit : {0, 4, 5, 6, 7}) EXPECT_EQ(w.flagLamp(bit)->color(), Rgb(widgets::kLampIdle));
}

}  // namespace
