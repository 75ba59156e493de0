// The receiver-description reports as the operator sees them: the firmware
// version in the status bar and Product Info, the health status, the set-time
// lamp, the EEPROM lamps and the developer's fatal texts (0x5F in and out of
// developer mode), the parameters and the Product Info activation.
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstring>
#include <QTest>

#include "app/receiver_types.h"
#include "commands/initial_time_dialog.h"
#include "widgets/group_panel.h"
#include "reports/product_window.h"
#include "tests/reports/display_fixture.h"
#include "tests/support/memory_settings.h"
#include "tools/eeprom_window.h"
#include "tools/message_window.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

PayloadWriter Version(int length, std::initializer_list<std::uint8_t> first) {
  PayloadWriter p(length);
  int i = 0;
  for (std::uint8_t b : first) p.byte(i++, b);
  return p;
}

class VersionDisplayTest : public halvix::testing::DisplayTest {
 protected:
  MemorySettings settings;

  void SetUp() override {
    DisplayTest::SetUp();
    useSettings();
  }
  void useSettings() {
    settings.setNtp(QStringLiteral("0"));
    context->settings = &settings;
  }
  reports::TForm_Product::Controls& product() { return windows->product->testControls(); }
  QString pad() { return windows->message->testControls().Memo_Pad->toPlainText(); }
};

TEST_F(VersionDisplayTest, ShortVersionReportOutsideDeveloperMode) {
  feed(0x45, Version(10, {1, 2, 3, 4, 107, 1, 5, 6, 7, 107}));
  EXPECT_EQ(mc().Panel_Version->text(), "1.02");
  EXPECT_EQ(product().Panel_NavVersion->text(), "1.02");
  EXPECT_EQ(product().Panel_NavDate->text(), "3/4/2007");
  EXPECT_EQ(product().Panel_SigVersion->text(), "1.05");
  EXPECT_EQ(product().Panel_SigDate->text(), "6/7/2007");
  EXPECT_TRUE(product().Panel_NavHour->isHidden());

  // A long report fills the hour, but the row stays hidden and two numbers show.
  PayloadWriter l = Version(96, {2, 3});
  l.byte(17, 4).byte(20, 1).byte(21, 2).byte(22, 3);
  feed(0x45, l);
  EXPECT_EQ(product().Panel_NavVersion->text(), "2.03");
  EXPECT_EQ(product().Panel_NavHour->text(), "1:02:03");
  EXPECT_TRUE(product().Label_NavHour->isHidden());

  // Another length changes nothing.
  feed(0x45, Version(11, {9, 9}));
  EXPECT_EQ(mc().Panel_Version->text(), "2.03");
}

TEST_F(VersionDisplayTest, DeveloperModeShowsTheThirdNumberAndTheHourRow) {
  make(true);
  useSettings();
  feed(0x45, Version(10, {1, 2}));
  EXPECT_EQ(product().Panel_NavVersion->text(), "1.02") << "a short report has no third number";
  EXPECT_FALSE(product().Panel_NavHour->isHidden());
  EXPECT_FALSE(product().Label_NavHour->isHidden());
  EXPECT_TRUE(product().Panel_NavHour->text().isEmpty());

  PayloadWriter l = Version(96, {1, 2});
  l.byte(17, 3).byte(20, 13).byte(21, 5).byte(22, 9);
  feed(0x45, l);
  EXPECT_EQ(product().Panel_NavVersion->text(), "1.02.03");
  EXPECT_EQ(mc().Panel_Version->text(), "1.02");
  EXPECT_EQ(product().Panel_NavHour->text(), "13:05:09");
}

TEST_F(VersionDisplayTest, HealthShowsOnlyWhileTheTimingPacketsAreNotPolled) {
  setPolling(false);
  feed(0x46, PayloadWriter(2).byte(0, 9));
  EXPECT_EQ(mc().Panel_Status->text(), "Only 1 usable SV");
  EXPECT_EQ(mc().Panel_ModeAndStatus->toolTip(), "Mode and Status: Packets 0x46, 8F-0B");
  feed(0x46, PayloadWriter(2).byte(0, 5));
  EXPECT_EQ(mc().Panel_Status->text(), "Unknown status (code 5)");
  feed(0x46, PayloadWriter(3).byte(0, 0));
  EXPECT_EQ(mc().Panel_Status->text(), "Unknown status (code 5)") << "wrong length";

  setPolling(true);
  feed(0x46, PayloadWriter(2).byte(0, 0));
  EXPECT_EQ(mc().Panel_Status->text(), "Unknown status (code 5)");
}

TEST_F(VersionDisplayTest, SetTimeReplyPaintsTheAcceptedLamp) {
  widgets::Lamp* lamp = windows->initialTime->testControls().Shape_TimeAccepted;
  feed(0x4E, PayloadWriter(1).byte(0, 'Y'));
  EXPECT_EQ(lamp->color(), Rgb(widgets::kLampLit));
  feed(0x4E, PayloadWriter(1).byte(0, 'N'));
  EXPECT_EQ(lamp->color(), QColor(0xFF, 0, 0));
  feed(0x4E, PayloadWriter(2).byte(0, 'Y'));
  EXPECT_EQ(lamp->color(), QColor(0xFF, 0, 0));
  feed(0x4B, PayloadWriter(5));  // routed, shows nothing
}

TEST_F(VersionDisplayTest, SegmentStatusReachesTheEepromLampsInEveryMode) {
  for (bool developer : {false, true}) {
    make(developer);
    useSettings();
    tools::TForm_EEPROM& w = *windows->eeprom;
    feed(0x5F, PayloadWriter(3).byte(0, 0x11).word(1, 0x0801));
    for (int bit : tools::TForm_EEPROM::kShownBits) {
      const bool yellow = bit == 0 || bit == 11;
      EXPECT_EQ(w.segmentLamp(bit)->color(), Rgb(yellow ? widgets::kLampAlarm : widgets::kLampLit))
          << "bit " << bit << (developer ? " developer" : "");
    }
    feed(0x5F, PayloadWriter(4).byte(0, 0x11).word(1, 0x0000));
    EXPECT_EQ(w.segmentLamp(0)->color(), Rgb(widgets::kLampAlarm)) << "wrong length";
  }
}

TEST_F(VersionDisplayTest, FatalTextsOnlyInDeveloperMode) {
  const auto fatal = [](std::uint8_t kind, const char* text) {
    PayloadWriter p(1 + static_cast<int>(std::strlen(text)));
    p.byte(0, kind);
    for (int i = 0; text[i] != 0; ++i) p.byte(1 + i, static_cast<std::uint8_t>(text[i]));
    return p;
  };
  feed(0x5F, fatal(0xFF, "stack overflow"));
  EXPECT_TRUE(pad().isEmpty()) << "dropped outside developer mode";
  EXPECT_FALSE(windows->message->isVisible());

  make(true);
  useSettings();
  int errors = 0, exceptions = 0;
  windows->decoders->appFatalError = [&] { ++errors; };
  windows->decoders->appFatalException = [&] { ++exceptions; };
  feed(0x5F, fatal(0xFF, "stack overflow"));
  EXPECT_TRUE(windows->message->isVisible());
  EXPECT_EQ(pad(), QString(39, '-') + "\nApplication Fatal Error:stack overflow\n");
  feed(0x5F, fatal(0xFE, ""));
  feed(0x5F, fatal(0x01, "ignored kind"));
  EXPECT_TRUE(pad().endsWith(QString(39, '-') + "\nApplication Fatal Exception:\n"));
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(exceptions, 1);
}

TEST_F(VersionDisplayTest, ParameterReportsFillProductInfoAndChooseTheType) {
  PayloadWriter m(17);
  m.byte(0, 0x41).word(1, 12).longWord(3, 3456789).byte(7, 7).byte(8, 12).byte(9, 31).byte(10, 14);
  m.single(11, 1.234f).word(15, 5150);
  feedSuper(m);
  EXPECT_EQ(product().Panel_ManSerNumPrefix->text(), "12");
  EXPECT_EQ(product().Panel_ManSerNum->text(), "3456789");
  EXPECT_EQ(product().Panel_ManDate->text(), "12/31/2007");
  EXPECT_EQ(product().Panel_ManHour->text(), "14");
  EXPECT_EQ(product().Panel_ManOscOffset->text(), "1.23");
  EXPECT_EQ(product().Panel_ManIDNum->text(), "5150");

  PayloadWriter p(19);
  p.byte(0, 0x42).byte(1, 1).byte(2, 2).word(3, 33).longWord(5, 44444).longWord(9, 55555);
  p.word(13, 8).word(15, 91);
  feedSuper(p);
  EXPECT_EQ(product().Panel_ProdOptsPrefix->text(), "1");
  EXPECT_EQ(product().Panel_ProdNumExt->text(), "2");
  EXPECT_EQ(product().Panel_ProdSerNumPrefix->text(), "33");
  EXPECT_EQ(product().Panel_ProdSerNum->text(), "44444");
  EXPECT_EQ(product().Panel_ProdNum->text(), "55555");
  EXPECT_EQ(product().Panel_ProdPremOpt->text(), "8");
  EXPECT_EQ(product().Panel_ProdIDNum->text(), "91");
  EXPECT_TRUE(main().menu.RecTypeBrisel->isChecked());
  EXPECT_FALSE(main().menu.RecTypeCvlNorden->isChecked());

  // Machine 98 leaves the type as it is, whatever its options.
  p.word(13, 0).word(15, 98);
  feedSuper(p);
  EXPECT_TRUE(main().menu.RecTypeBrisel->isChecked());
  EXPECT_FALSE(main().menu.RecTypeCvl->isChecked());
  EXPECT_EQ(product().Panel_ProdIDNum->text(), "98");
}

TEST_F(VersionDisplayTest, ProductInfoActivationBlanksThenQueriesTwoHundredMsApart) {
  for (widgets::ValuePanel* p : windows->product->valuePanels()) p->setText("old");
  device.clearWrites();
  const std::int64_t start = clock.nowMs();
  windows->product->FormActivate();
  for (widgets::ValuePanel* p : windows->product->valuePanels()) {
    EXPECT_TRUE(p->text().isEmpty()) << p->objectName().toStdString();
  }
  const auto& writes = device.writes();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x1F, 0x00, 0x00}, {0x8E, 0x41}, {0x8E, 0x42}}));
  EXPECT_GE(clock.nowMs() - start, 400);
}

TEST_F(VersionDisplayTest, FirmwareVersionPanelOpensProductInfo) {
  main().show();
  QTest::mouseClick(mc().Panel_Version, Qt::LeftButton);
  EXPECT_TRUE(windows->product->isVisible());
  windows->product->testControls().Button_Close->click();
  EXPECT_FALSE(windows->product->isVisible());
  main().menu.ViewProductInfo->trigger();
  EXPECT_TRUE(windows->product->isVisible());
}

}  // namespace
