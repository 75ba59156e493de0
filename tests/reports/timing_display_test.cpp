// The timing super-reports as the operator sees them: the main window's time,
// position, timing-output, mode/status and alarm groups, the two time sources
// chosen by "Poll Timing Packets", the watchdog reloads, the position
// download, and the primary UTC time in the Additional Timing Packets window.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "reports/add_timing_window.h"
#include "widgets/group_panel.h"
#include "reports/formatters.h"
#include "reports/timing_decoders.h"
#include "reports/timing_layouts.h"
#include "tests/reports/display_fixture.h"

using namespace halvix;
using halvix::widgets::ValuePanel;
using namespace halvix::testing;

namespace {

const QColor kGreen = Rgb(widgets::kLampLit);
const QColor kYellow = Rgb(widgets::kLampAlarm);
const QColor kGrey = Rgb(widgets::kLampIdle);

PayloadWriter PrimaryTiming(std::uint32_t tow, std::uint16_t week, std::uint16_t offsetWord,
                            std::uint8_t flags) {
  PayloadWriter p(17);
  p.byte(0, 0xAB).longWord(1, tow).word(5, week).word(7, offsetWord).byte(9, flags);
  p.byte(10, 59).byte(11, 59).byte(12, 23).byte(13, 31).byte(14, 12).word(15, 2006);
  return p;
}

PayloadWriter Supplemental(int length = 68) {
  PayloadWriter p(length);
  p.byte(0, 0xAC).byte(1, 7).byte(3, 42).word(10, 0x0000).byte(12, 0);
  if (length >= 68) {
    p.single(16, 12.345f).single(20, -0.5f).dbl(36, 0.5853).dbl(44, -1.0).dbl(52, 123.45);
    p.single(60, 2.5f).byte(64, 1);
  }
  return p;
}

class TimingDisplayTest : public DisplayTest {};

TEST_F(TimingDisplayTest, PrimaryTimingFillsTheTimeGroupOnlyWhilePolled) {
  setPolling(false);
  feedSuper(PrimaryTiming(604799, 1400, 14, 0x01));
  EXPECT_TRUE(mc().Panel_TOW->text().isEmpty()) << "the 0x41 source is in use";

  setPolling(true);
  mc().Panel_Timing->setToolTip(QStringLiteral("Time: Packet 0x41"));
  feedSuper(PrimaryTiming(604799, 1400, 14, 0x01));
  EXPECT_EQ(mc().Panel_TOW->text(), QStringLiteral("604799"));
  EXPECT_EQ(mc().Panel_WeekNum->text(), QStringLiteral("1400"));
  EXPECT_EQ(mc().Panel_UTCOffset->text(), QStringLiteral("14"));
  EXPECT_EQ(mc().Panel_Time->text(), QStringLiteral("23:59:59"));
  EXPECT_EQ(mc().Panel_Date->text(), QStringLiteral("Dec 31, 2006"));
  EXPECT_EQ(mc().Label_TimeType->text(), QStringLiteral("UTC"));
  EXPECT_EQ(mc().Panel_Timing->toolTip(), QStringLiteral("Time: Packet 8F-AB"));

  feedSuper(PrimaryTiming(0, 1400, 0xFFF2, 0x00));
  EXPECT_EQ(mc().Panel_UTCOffset->text(), QStringLiteral("-14"));
  EXPECT_EQ(mc().Label_TimeType->text(), QStringLiteral("GPS"));

  // The primary timing report is no watchdog source.
  EXPECT_EQ(display().timeReportCountdown, 0);
  PayloadWriter shortOne(16);
  shortOne.byte(0, 0xAB);
  feedSuper(shortOne);
  EXPECT_EQ(mc().Panel_TOW->text(), QStringLiteral("0"));
}

TEST_F(TimingDisplayTest, SupplementalOfAnotherLengthChangesNothing) {
  setPolling(true);
  display().timeReportCountdown = -3;
  display().timingReportCountdown = -4;
  display().downloadPositionPending = true;
  for (int length : {67, 69}) {
    SCOPED_TRACE(length);
    PayloadWriter p(length);
    p.byte(0, 0xAC).byte(3, 50).byte(64, 1);
    feedSuper(p);
    EXPECT_EQ(display().timeReportCountdown, -3);
    EXPECT_EQ(display().timingReportCountdown, -4);
    EXPECT_TRUE(mc().Panel_SelfSurvey->text().isEmpty());
    EXPECT_TRUE(mc().Panel_Latitude->text().isEmpty());
    EXPECT_EQ(mc().Shape_PPS->color(), kGrey);
    EXPECT_EQ(mc().Shape_Bit[3]->color(), kGrey);
  }
  EXPECT_TRUE(display().downloadPositionPending);
  EXPECT_TRUE(prompts.fileDialogs.empty());
}

TEST_F(TimingDisplayTest, SupplementalWithoutPollingShowsOnlyTheTimingSide) {
  setPolling(false);
  main().TimingPanelBlanking();
  display().downloadPositionPending = true;
  feedSuper(Supplemental());

  EXPECT_EQ(display().timeReportCountdown, 5);
  EXPECT_EQ(display().timingReportCountdown, 5);
  EXPECT_EQ(mc().Panel_SelfSurvey->text(), QStringLiteral("42%"));
  EXPECT_EQ(mc().Panel_PPSOffset->text(), QStringLiteral("12.35"));
  EXPECT_EQ(mc().Panel_10MHz->text(), QStringLiteral("-0.50"));
  EXPECT_EQ(mc().Panel_Quantization->text(), QStringLiteral("2.50"));
  for (ValuePanel* p : {mc().Panel_SelfSurvey, mc().Panel_PPSOffset, mc().Panel_10MHz,
                        mc().Panel_Quantization}) {
    EXPECT_TRUE(p->isLive()) << "greyed panels come back to the window colour";
  }
  EXPECT_EQ(mc().Shape_PPS->color(), kGreen);

  EXPECT_TRUE(mc().Panel_Latitude->text().isEmpty());
  EXPECT_TRUE(mc().Panel_Mode->text().isEmpty());
  EXPECT_TRUE(mc().Panel_Status->text().isEmpty());
  EXPECT_EQ(trackingResets, 0);
  EXPECT_TRUE(display().downloadPositionPending) << "served only while polled";
  EXPECT_TRUE(prompts.fileDialogs.empty());
}

TEST_F(TimingDisplayTest, SupplementalWhilePolledShowsPositionModeStatusAndHints) {
  setPolling(true);
  mc().Panel_Position->setToolTip(QStringLiteral("Position: Packet 8F-0B"));
  feedSuper(Supplemental());
  EXPECT_EQ(mc().Panel_Latitude->text(), QStringLiteral("33.535248"));
  EXPECT_EQ(mc().Panel_Longitude->text(), QStringLiteral("-57.295828"));
  EXPECT_EQ(mc().Panel_Altitude->text(), QStringLiteral("123.5"));
  EXPECT_EQ(mc().Panel_Mode->text(), QStringLiteral("Overdetermined Clock"));
  EXPECT_EQ(mc().Panel_Status->text(), QStringLiteral("Doing fixes"));
  EXPECT_EQ(mc().Panel_Position->toolTip(), QStringLiteral("Position: Packet 8F-AC"));
  EXPECT_EQ(mc().Panel_ModeAndStatus->toolTip(), QStringLiteral("Mode and Status: Packet 8F-AC"));

  // The click only flips the style; the next report shows it.
  main().LLAToggle();
  EXPECT_EQ(mc().Panel_Latitude->text(), QStringLiteral("33.535248"));
  feedSuper(Supplemental());
  EXPECT_EQ(mc().Panel_Latitude->text(), QStringLiteral("33\u00B0 32' 6.893"));
  EXPECT_EQ(mc().Panel_Longitude->text(), QStringLiteral("-57\u00B0 17' 44.980"));

  const struct {
    int mode, status;
    const char* modeText;
    const char* statusText;
  } cases[] = {{8, 17, "Invalid Mode", "Invalid Status"}, {0, 5, "Automatic (2D/3D)", ""},
               {2, 16, " ", "TRAIM rejected fix"}};
  for (const auto& k : cases) {
    PayloadWriter p = Supplemental();
    p.byte(1, static_cast<std::uint8_t>(k.mode)).byte(12, static_cast<std::uint8_t>(k.status));
    feedSuper(p);
    EXPECT_EQ(mc().Panel_Mode->text(), QString::fromLatin1(k.modeText));
    EXPECT_EQ(mc().Panel_Status->text(), QString::fromLatin1(k.statusText));
  }
}

TEST_F(TimingDisplayTest, AlarmWordPaintsTheLampsAndTellsTheResetTest) {
  setPolling(true);
  PayloadWriter p = Supplemental();
  p.word(10, 0x0008).byte(64, 0);
  feedSuper(p);
  for (int bit : reports::kMinorAlarmLampBits) {
    SCOPED_TRACE(bit);
    EXPECT_EQ(mc().Shape_Bit[static_cast<std::size_t>(bit)]->color(), bit == 3 ? kYellow : kGreen);
  }
  EXPECT_EQ(mc().Shape_PPS->color(), kYellow) << "no PPS generated";
  EXPECT_EQ(trackingResets, 0) << "no usable satellites yet";

  p.word(10, 0x0000);
  feedSuper(p);
  EXPECT_EQ(trackingResets, 1);
  EXPECT_EQ(mc().Shape_Bit[3]->color(), kGreen);

  // Every lamp bit, and bits without a lamp light nothing.
  p.word(10, 0xFFFF);
  feedSuper(p);
  for (int bit : reports::kMinorAlarmLampBits) {
    EXPECT_EQ(mc().Shape_Bit[static_cast<std::size_t>(bit)]->color(), kYellow) << bit;
  }
}

TEST_F(TimingDisplayTest, EachAlarmLightsOnlyItsOwnCaptionedLamp) {
  for (const reports::MinorAlarm& a : reports::kMinorAlarms) {
    SCOPED_TRACE(a.caption);
    const auto bit = static_cast<std::size_t>(a.bit);
    PayloadWriter p = Supplemental();
    p.word(10, static_cast<std::uint16_t>(1u << a.bit));
    feedSuper(p);
    for (const reports::MinorAlarm& other : reports::kMinorAlarms) {
      EXPECT_EQ(mc().Shape_Bit[static_cast<std::size_t>(other.bit)]->color(),
                other.bit == a.bit ? kYellow : kGreen)
          << other.caption;
    }
    EXPECT_EQ(mc().Label_MA[bit]->text(), QString::fromLatin1(a.caption));
    EXPECT_EQ(mc().Shape_Bit[bit]->toolTip(), QString::fromLatin1(a.hint));
  }
}

TEST_F(TimingDisplayTest, PositionDownloadWritesTheLineOnceWhilePolled) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("pos.dat"));
  PayloadWriter p = Supplemental();
  p.dbl(36, 45.0 / reports::kRadiansToDegrees).dbl(44, -90.0 / reports::kRadiansToDegrees);
  p.dbl(52, 100.0);

  main().ControlDownloadPosClick();
  setPolling(false);
  feedSuper(p);
  EXPECT_TRUE(prompts.fileDialogs.empty()) << "waits while the timing packets are not polled";

  setPolling(true);
  prompts.fileNames.push_back(path);
  feedSuper(p);
  ASSERT_EQ(prompts.fileDialogs.size(), 1u);
  EXPECT_FALSE(display().downloadPositionPending);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("0 45.00000 -90.00000 100.0"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Success"));
  EXPECT_EQ(prompts.messages[0].text,
            QStringLiteral("Position successfully downloaded.\n\nLat: 45.00000\nLon: -90.00000\nAlt: 100.0"));
  EXPECT_EQ(prompts.messages[0].icon, platform::PromptIcon::None);

  feedSuper(p);
  EXPECT_EQ(prompts.fileDialogs.size(), 1u) << "one request, one download";
}

TEST_F(TimingDisplayTest, PositionDownloadCancelFailureAndDefaultExtension) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  setPolling(true);

  // Cancel: nothing written, nothing said.
  main().ControlDownloadPosClick();
  feedSuper(Supplemental());
  EXPECT_EQ(prompts.fileDialogs.size(), 1u);
  EXPECT_TRUE(prompts.messages.empty());

  // A file that cannot be opened.
  main().ControlDownloadPosClick();
  prompts.fileNames.push_back(dir.filePath(QStringLiteral("missing/pos.dat")));
  feedSuper(Supplemental());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Error"));
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Unable to open data file."));
  EXPECT_EQ(prompts.messages[0].icon, platform::PromptIcon::Warning);

  // A name without an extension gets ".dat".
  main().ControlDownloadPosClick();
  prompts.fileNames.push_back(dir.filePath(QStringLiteral("here")));
  feedSuper(Supplemental());
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("here.dat"))));
  EXPECT_EQ(prompts.messages.back().title, QStringLiteral("Success"));
}

TEST_F(TimingDisplayTest, PrimaryUtcTimeFillsTheAdditionalTimingWindow) {
  reports::TForm_AddTiming::Controls& c = windows->addTiming->testControls();
  PayloadWriter p(22);
  p.byte(0, 0xAD).word(1, 0).dbl(3, 0.5).byte(11, 1).byte(12, 2).byte(13, 3);
  p.byte(14, 9).byte(15, 7).word(16, 2024).byte(18, 13).byte(19, 0x31);
  c.Panel_EventCounter->setText(QStringLiteral("old"));
  c.Panel_EventTime->setText(QStringLiteral("old"));
  feedSuper(p);
  EXPECT_EQ(c.Panel_PrimaryUTCTime->text(), QStringLiteral("1:02:03.500000000"));
  EXPECT_EQ(c.Panel_UTCDate->text(), QStringLiteral("Jul 9, 2024"));
  EXPECT_EQ(c.Panel_Status->text(), QStringLiteral("Overdetermined Fixes"));
  EXPECT_EQ(c.Panel_EventCounter->text(), QStringLiteral("old")) << "no event";
  EXPECT_EQ(c.Panel_EventTime->text(), QStringLiteral("old"));
  EXPECT_EQ(c.Label_ADTime->text(), QStringLiteral("UTC Time"));
  reports::TForm_AddTiming& w = *windows->addTiming;
  EXPECT_EQ(w.flagLamp(0)->color(), kGreen);
  EXPECT_EQ(w.flagLamp(4)->color(), kYellow);
  EXPECT_EQ(w.flagLamp(5)->color(), Rgb(0xFFFF8000));
  EXPECT_EQ(w.flagLamp(6)->color(), kGrey);
  EXPECT_EQ(w.flagLamp(7)->color(), kGrey);

  p.word(1, 7).byte(18, 14).byte(19, 0xC0).byte(15, 13);
  feedSuper(p);
  EXPECT_EQ(c.Panel_EventCounter->text(), QStringLiteral("7"));
  EXPECT_EQ(c.Panel_EventTime->text(), QStringLiteral("1:02:03.500000000"));
  EXPECT_EQ(c.Panel_Status->text(), QStringLiteral("Invalid Status"));
  EXPECT_EQ(c.Panel_UTCDate->text(), QStringLiteral("??? 9, 2024"));
  EXPECT_EQ(c.Label_ADTime->text(), QStringLiteral("GPS Time"));
  EXPECT_EQ(w.flagLamp(0)->color(), kGrey);
  EXPECT_EQ(w.flagLamp(6)->color(), Rgb(0xFFFF0000));
  EXPECT_EQ(w.flagLamp(7)->color(), Rgb(0xFF008080)) << "teal, not blue";

  PayloadWriter wrong(21);
  wrong.byte(0, 0xAD);
  feedSuper(wrong);
  EXPECT_EQ(c.Panel_Status->text(), QStringLiteral("Invalid Status"));
}

}  // namespace
