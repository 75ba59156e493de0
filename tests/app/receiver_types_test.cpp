// Receiver types as the operator meets them: the production report or the
// "Change Receiver Type" menu reconfigures menus, check marks, the alarm
// lamps and three configuration windows; the NTP question and the polling
// warning decide and store whether the timing packets are polled.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/ntp_setting.h"
#include "app/receiver_types.h"
#include "commands/packet_masks_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "widgets/group_panel.h"
#include "tests/reports/display_fixture.h"
#include "tests/support/memory_settings.h"

using namespace halvix;
using platform::PromptAnswer;
using namespace halvix::testing;

namespace {

PayloadWriter Production(std::uint16_t machineId, std::uint16_t premium) {
  PayloadWriter p(19);
  p.byte(0, 0x42).word(13, premium).word(15, machineId);
  return p;
}

class ReceiverTypeTest : public halvix::testing::DisplayTest {
 protected:
  MemorySettings settings;

  void SetUp() override {
    DisplayTest::SetUp();
    context->settings = &settings;
  }

  // The twelve broadcast-mask boxes of the Packet Masks window.
  std::vector<QCheckBox*> maskBoxes() {
    std::vector<QCheckBox*> boxes;
    for (const auto& b : windows->packetMasks->maskBits()) boxes.push_back(b.box);
    return boxes;
  }
  // Sends the PPS width, the PPS output condition and the broadcast mask as
  // the operator would; what reached the receiver, by packet id and sub-code.
  std::vector<std::pair<int, int>> clickTheTypeDependentButtons() {
    auto& t = windows->timingOut->testControls();
    t.Edit_Width->setText(QStringLiteral("0.001"));
    t.RadioButton_Always->setChecked(true);
    device.clearWrites();
    for (QPushButton* b : {t.Button_Width, t.Button_SetOutput, windows->packetMasks->testControls().Button_Set8EA5}) {
      b->click();
    }
    std::vector<std::pair<int, int>> ids;
    for (const auto& packet : sent()) ids.emplace_back(packet.at(0), packet.size() > 1 ? packet[1] : -1);
    return ids;
  }
  // A caption drawn in the window's text colour (not the inactive grey).
  static bool Dark(const QLabel* label) {
    return label->palette().color(QPalette::WindowText) ==
           label->window()->palette().color(QPalette::WindowText);
  }

  app::TForm_Main::MenuItems& menu() { return main().menu; }
  QAction* poll() { return menu().ControlPollingTimingPkts; }
  // The set-up items only one family has: Corvel's NMEA output, N3 and self
  // survey, or Brisel's own survey and port A dialogs.
  void expectBriselItems(bool brisel) {
    auto& m = menu();
    for (QAction* item : {m.SetupNMEAOutpu, m.N3, m.SetupSelfSurvey}) {
      EXPECT_EQ(item->isVisible(), !brisel) << item->objectName().toStdString();
    }
    for (QAction* item : {m.SetupBriselSelfSurvey, m.SetupPortAOutput}) {
      EXPECT_EQ(item->isVisible(), brisel) << item->objectName().toStdString();
    }
  }
  std::vector<QAction*> typeItems() {
    auto& m = menu();
    return {m.RecTypeCvl, m.RecTypeCvlNorden, m.RecTypeCvlPellam, m.RecTypeCvlCVL2,
            m.RecTypeBrisel, m.RecTypeDolvoUTC};
  }
  int checkedType() {
    const auto items = typeItems();
    int found = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i]->isChecked()) found = found * 10 + static_cast<int>(i) + 1;
    }
    return found;
  }
  int ntpQuestions() const {
    int n = 0;
    for (const auto& m : prompts.messages) n += m.title == app::kNtpQuestionTitle;
    return n;
  }
  void makeTimingPanelsLive() {
    for (widgets::ValuePanel* p :
         {mc().Panel_SelfSurvey, mc().Panel_PPSOffset, mc().Panel_10MHz, mc().Panel_Quantization}) {
      p->setLiveValue(QStringLiteral("1"));
    }
  }
  bool timingPanelsGreyed() {
    bool all = true;
    for (widgets::ValuePanel* p :
         {mc().Panel_SelfSurvey, mc().Panel_PPSOffset, mc().Panel_10MHz, mc().Panel_Quantization}) {
      all = all && p->isGreyed() && p->text().isEmpty();
    }
    return all;
  }
};

TEST_F(ReceiverTypeTest, FirstRunAnsweredNoPollsAndTheNextRunAsksNothing) {
  prompts.answers = {PromptAnswer::No};
  makeTimingPanelsLive();
  feedSuper(Production(1, 0));
  ASSERT_EQ(ntpQuestions(), 1);
  EXPECT_EQ(prompts.messages[0].text, app::kNtpQuestion);
  EXPECT_EQ(prompts.messages[0].buttons, platform::PromptButtons::YesNo);
  EXPECT_EQ(settings.ntp(), QStringLiteral("0"));
  EXPECT_TRUE(poll()->isVisible());
  EXPECT_TRUE(poll()->isChecked());
  EXPECT_FALSE(timingPanelsGreyed());
  EXPECT_EQ(checkedType(), 1);

  // A later run finds the answer stored.
  make(false);
  context->settings = &settings;
  feedSuper(Production(1, 0));
  EXPECT_EQ(ntpQuestions(), 1);
  EXPECT_TRUE(poll()->isChecked());
}

TEST_F(ReceiverTypeTest, FirstRunAnsweredYesStopsPollingAndGreysTheTimingPanels) {
  prompts.answers = {PromptAnswer::Yes};
  makeTimingPanelsLive();
  feedSuper(Production(1, 0));
  EXPECT_EQ(ntpQuestions(), 1);
  EXPECT_EQ(settings.ntp(), QStringLiteral("1"));
  EXPECT_TRUE(poll()->isVisible());
  EXPECT_FALSE(poll()->isChecked());
  EXPECT_TRUE(timingPanelsGreyed());
}

TEST_F(ReceiverTypeTest, StoredSettingDecidesWithoutAsking) {
  struct Case {
    const char* stored;
    std::uint16_t premium;
    bool checked;
    bool greyed;
  } cases[] = {
      {"1", 8, false, false},  // Corvel Norden: unchecked but not blanked
      {"1", 0, false, true},   // Corvel: unchecked and blanked
      {"0", 8, true, false},
      {"7", 0, false, true},   // any value but 0 means NTP
      {" 0x", 8, true, false},  // read as "%d": leading number only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    settings.setNtp(QString::fromLatin1(c.stored));
    makeTimingPanelsLive();
    feedSuper(Production(1, c.premium));
    EXPECT_EQ(ntpQuestions(), 0);
    EXPECT_EQ(poll()->isChecked(), c.checked);
    EXPECT_EQ(timingPanelsGreyed(), c.greyed);
  }
}

TEST_F(ReceiverTypeTest, UnreadableSettingCountsAsUnknown) {
  for (const char* stored : {"abc", "", "99999999999"}) {
    SCOPED_TRACE(stored);
    prompts.messages.clear();
    settings.setNtp(QString::fromLatin1(stored));
    prompts.answers = {PromptAnswer::No};
    feedSuper(Production(1, 0));
    EXPECT_EQ(ntpQuestions(), 1);
    EXPECT_EQ(settings.ntp(), QStringLiteral("0"));
  }
  // A store that cannot be opened asks every time, and nothing is kept.
  settings.broken = true;
  prompts.messages.clear();
  feedSuper(Production(1, 8));
  feedSuper(Production(1, 8));
  EXPECT_EQ(ntpQuestions(), 2);
}

TEST_F(ReceiverTypeTest, BriselHidesTheCorvelItemsAndDisablesItsControls) {
  settings.setNtp(QStringLiteral("0"));
  makeTimingPanelsLive();
  QStringList laidOut;
  for (QCheckBox* box : maskBoxes()) {
    ASSERT_NE(box, nullptr);
    laidOut << box->text();
  }
  // Machine ID 91 wins over premium options 8.
  feedSuper(Production(91, 8));
  auto& m = menu();
  EXPECT_FALSE(poll()->isVisible());
  EXPECT_FALSE(poll()->isChecked());
  expectBriselItems(true);
  EXPECT_EQ(checkedType(), 5);
  EXPECT_TRUE(timingPanelsGreyed());
  EXPECT_EQ(ntpQuestions(), 0);

  QStringList captions;
  for (QCheckBox* box : maskBoxes()) captions << box->text();
  EXPECT_EQ(captions, laidOut) << "Brisel keeps the captions as laid out";

  // Back to a Corvel type from the menu: everything returns.
  m.RecTypeCvlPellam->trigger();
  EXPECT_FALSE(poll()->isVisible());
  EXPECT_TRUE(poll()->isChecked());
  expectBriselItems(false);
  EXPECT_EQ(checkedType(), 3);
  const auto& pm = windows->packetMasks->testControls();
  EXPECT_EQ(pm.CheckBox_B2Bit6->text(), QStringLiteral("8F-AB on Port A, Port B"));
  EXPECT_EQ(pm.CheckBox_B2Bit7->text(), QStringLiteral("8F-AC on Port A, Port B"));
  EXPECT_EQ(pm.CheckBox_B2Bit5->text(), laidOut[9]) << "only bits 6 and 7 are re-captioned";
}

TEST_F(ReceiverTypeTest, EachTypeOffersWhatItsReceiverHas) {
  settings.setNtp(QStringLiteral("0"));
  auto& m = menu();
  const auto& t = windows->timingOut->testControls();
  const auto& pm = windows->packetMasks->testControls();
  const auto& s = windows->serial->testControls();
  // Brisel has no PPS width, output condition or broadcast mask, no NMEA
  // output and its own survey and port A dialogs; every type has both ports.
  const struct {
    QAction* item;
    int checked;
    bool brisel;
  } types[] = {{m.RecTypeCvl, 1, false},     {m.RecTypeBrisel, 5, true},  {m.RecTypeCvlNorden, 2, false},
               {m.RecTypeCvlPellam, 3, false}, {m.RecTypeCvlCVL2, 4, false}};
  for (const auto& type : types) {
    SCOPED_TRACE(type.item->text().toStdString());
    type.item->trigger();
    EXPECT_EQ(checkedType(), type.checked);

    const auto sentIds = clickTheTypeDependentButtons();
    using Sent = std::vector<std::pair<int, int>>;
    const Sent corvel = {{0x8E, 0x4F}, {0x8E, 0x4E}, {0x8E, 0xA5}};
    EXPECT_EQ(sentIds, type.brisel ? Sent{} : corvel);
    for (const QLabel* label : {t.Label_Width, t.Label_Seconds, t.Label_OutputOptions, pm.Label_Masks}) {
      EXPECT_EQ(label->isEnabled(), !type.brisel) << label->text().toStdString();
      EXPECT_EQ(Dark(label), !type.brisel) << label->text().toStdString();
    }
    for (const QCheckBox* box : maskBoxes()) EXPECT_EQ(box->isEnabled(), !type.brisel);

    expectBriselItems(type.brisel);

    EXPECT_EQ(s.Label_A->text(), QStringLiteral("Port A"));
    EXPECT_EQ(s.Label_B->text(), QStringLiteral("Port B"));
    EXPECT_EQ(s.Button_SetA->text(), QStringLiteral("Set Port &A"));
    EXPECT_EQ(s.Button_SetB->text(), QStringLiteral("Set Port &B"));
    EXPECT_TRUE(s.ComboBox_PortBOutput->isEnabled());
  }
}

TEST_F(ReceiverTypeTest, UnknownMachineOrOptionsChangeNothing) {
  settings.setNtp(QStringLiteral("0"));
  feedSuper(Production(1, 4));  // Corvel Pellam
  ASSERT_EQ(checkedType(), 3);
  for (auto [machine, premium] : {std::pair{98, 0}, std::pair{98, 8}, std::pair{1, 5}}) {
    feedSuper(Production(static_cast<std::uint16_t>(machine), static_cast<std::uint16_t>(premium)));
    EXPECT_EQ(checkedType(), 3) << machine << "/" << premium;
    EXPECT_FALSE(poll()->isVisible());
  }
  // A production report of the wrong length is ignored.
  PayloadWriter shortReport(18);
  shortReport.byte(0, 0x42).word(15, 91);
  feedSuper(shortReport);
  EXPECT_EQ(checkedType(), 3);
}

TEST_F(ReceiverTypeTest, DolvoDoesNothingAndAnyTypeUnchecksIt) {
  menu().RecTypeDolvoUTC->trigger();
  EXPECT_EQ(checkedType(), 0);
  EXPECT_TRUE(prompts.messages.empty());
  menu().RecTypeDolvoUTC->setChecked(true);
  menu().RecTypeBrisel->trigger();
  EXPECT_EQ(checkedType(), 5);
}

TEST_F(ReceiverTypeTest, AlarmLampsCloseUpOverTheAntennaRows) {
  const int bit11Top = mc().Shape_Bit[11]->y();
  menu().RecTypeBrisel->trigger();
  const int expected[] = {29, 48, 67, 87, 106, 126, 145};
  const int bits[] = {3, 5, 6, 7, 8, 9, 10};
  for (int k = 0; k < 7; ++k) {
    const auto bit = static_cast<std::size_t>(bits[k]);
    EXPECT_EQ(mc().Shape_Bit[bit]->y(), expected[k]) << bits[k];
    EXPECT_EQ(mc().Label_MA[bit]->y(), expected[k] - 2) << bits[k];
  }
  EXPECT_EQ(mc().Shape_Bit[11]->y(), bit11Top);
  EXPECT_TRUE(mc().Shape_Bit[1]->isHidden());
  EXPECT_TRUE(mc().Label_MA[2]->isHidden());
  // Applying again leaves them where they are.
  menu().RecTypeCvlPellam->trigger();
  EXPECT_EQ(mc().Shape_Bit[10]->y(), 145);
}

TEST_F(ReceiverTypeTest, PollingWarningGuardsSwitchingOn) {
  settings.setNtp(QStringLiteral("1"));
  menu().RecTypeCvlNorden->trigger();
  ASSERT_FALSE(poll()->isChecked());

  prompts.answers = {PromptAnswer::No};
  poll()->trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Warning"));
  EXPECT_EQ(prompts.messages[0].text, app::kPollingWarning);
  EXPECT_FALSE(poll()->isChecked());
  EXPECT_EQ(settings.ntp(), QStringLiteral("1"));

  mc().Panel_Mode->setText(QStringLiteral("stale"));
  prompts.answers = {PromptAnswer::Yes};
  poll()->trigger();
  EXPECT_TRUE(poll()->isChecked());
  EXPECT_EQ(settings.ntp(), QStringLiteral("0"));
  EXPECT_TRUE(mc().Panel_Mode->text().isEmpty()) << "the display is reset";

  // Switching off asks nothing.
  prompts.messages.clear();
  poll()->trigger();
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(poll()->isChecked());
  EXPECT_EQ(settings.ntp(), QStringLiteral("1"));
}

TEST_F(ReceiverTypeTest, DeveloperModeResetsTheDiagnosticsPort) {
  int resets = 0;
  main().hooks.resetDiagnosticsTestPort = [&] { ++resets; };
  menu().RecTypeBrisel->trigger();
  EXPECT_EQ(resets, 0);
  make(true);
  context->settings = &settings;
  main().hooks.resetDiagnosticsTestPort = [&] { ++resets; };
  menu().RecTypeBrisel->trigger();
  EXPECT_EQ(resets, 1);
}

TEST(NtpSetting, RegistryOperationsKeepTheirRootCodes) {
  MemorySettings store;
  QString text = QStringLiteral("untouched");
  EXPECT_FALSE(app::ReadRegistryString(store, 2, QStringLiteral("K"), QStringLiteral("V"), text))
      << "a missing value";
  app::WriteRegistryString(store, 6, QStringLiteral("K"), QStringLiteral("V"), QStringLiteral("x"));
  app::WriteRegistryString(store, -1, QStringLiteral("K"), QStringLiteral("V"), QStringLiteral("x"));
  EXPECT_EQ(store.writes, 0) << "unknown roots fail";
  app::WriteRegistryString(store, 1, QStringLiteral("K"), QStringLiteral("V"), QStringLiteral("x"));
  EXPECT_TRUE(app::ReadRegistryString(store, 1, QStringLiteral("K"), QStringLiteral("V"), text));
  EXPECT_EQ(text, QStringLiteral("x"));
  EXPECT_FALSE(app::ReadRegistryString(store, 6, QStringLiteral("K"), QStringLiteral("V"), text));
  EXPECT_FALSE(app::ReadRegistryString(store, 2, QStringLiteral("K"), QStringLiteral("V"), text))
      << "roots are kept apart";
}

TEST(NtpSetting, PlatformStoreRoundTrips) {
  // The test entry points the platform store at a private folder.
  platform::SettingsStore& store = platform::PlatformSettingsStore();
  app::WriteNtpSetting(store, 0);
  EXPECT_EQ(app::ReadNtpSetting(store), 0);
  app::WriteNtpSetting(store, 1);
  EXPECT_EQ(app::ReadNtpSetting(store), 1);
  app::WriteRegistryString(store, app::kLocalMachineRoot, QString::fromLatin1(app::kNtpKeyPath),
                           QStringLiteral("NTP"), QStringLiteral("abc"));
  EXPECT_EQ(app::ReadNtpSetting(store), app::kNtpUnknown);
}

}  // namespace
