// The confirmed actions of the Control and Setup menus, triggered as the
// operator does: what each asks, what it sends on Yes or OK, what it does to
// the display and the PC port, and that No or Cancel leaves everything alone.
#include <QAction>

#include "widgets/value_panel.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using namespace platform;
using namespace halvix::testing;
using Menu = app::TForm_Main::MenuItems;

namespace {

struct ActionCase {
  const char* name;
  QAction* Menu::*item;
  const char* title;
  PromptButtons buttons;
  Bytes packet;
  bool displayReset;
  bool portToFactory;
};

const ActionCase kActions[] = {
    {"Cold", &Menu::ControlCold, "Cold reset?", PromptButtons::YesNo, {0x1E, 0x4B}, true, false},
    {"Warm", &Menu::ControlWarm, "Warm reset?", PromptButtons::YesNo, {0x25}, true, false},
    {"FactoryAll", &Menu::FactoryResetAllParams, "Reset receiver?", PromptButtons::YesNo,
     {0x1E, 0x46}, true, true},
    {"FactoryNavigation", &Menu::FactoryResetNavagationData, "Reset receiver?",
     PromptButtons::YesNo, {0x1E, 0x4E}, true, false},
    {"FactoryConfiguration", &Menu::FactoryResetConfigParams, "Reset receiver?",
     PromptButtons::YesNo, {0x1E, 0x52}, true, true},
    {"RestartSurvey", &Menu::ControlSelfSurvey, "Restart self-survey?", PromptButtons::YesNo,
     {0x8E, 0xA6, 0x00}, false, false},
    {"SaveSegments", &Menu::SetupSaveAllSegments, "Save All Segments", PromptButtons::OkCancel,
     {0x8E, 0x26}, false, false},
    {"DefaultAllSegments", &Menu::SetupDefaultAllSegments, "Default All Segments",
     PromptButtons::OkCancel, {0x8E, 0x45, 0xFF}, false, true},
};

class ControlActionTest : public WindowFixture, public ::testing::WithParamInterface<ActionCase> {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    main().testControls().Panel_Time->setText(QStringLiteral("12:00:00"));
    main().ShowSerialCaption(QStringLiteral("COM1 19200, 8-None-1"));
    lines = device.lines().size();
  }
  void trigger() { (main().menu.*GetParam().item)->trigger(); }
  bool displayWasReset() { return main().testControls().Panel_Time->text().isEmpty(); }

  std::size_t lines = 0;
};

TEST_P(ControlActionTest, AnsweredNoChangesNothing) {
  const ActionCase& k = GetParam();
  prompts.answers.push_back(k.buttons == PromptButtons::YesNo ? PromptAnswer::No
                                                              : PromptAnswer::Cancel);
  trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QString::fromLatin1(k.title));
  EXPECT_EQ(prompts.messages[0].buttons, k.buttons);
  EXPECT_EQ(prompts.messages[0].icon, k.buttons == PromptButtons::YesNo ? PromptIcon::None
                                                                        : PromptIcon::Exclamation);
  EXPECT_TRUE(sent().empty());
  EXPECT_FALSE(displayWasReset());
  EXPECT_EQ(device.lines().size(), lines);
  EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("COM1 19200, 8-None-1"));
}

TEST_P(ControlActionTest, ConfirmedSendsAndFollowsWithThePcPort) {
  const ActionCase& k = GetParam();
  trigger();
  EXPECT_EQ(sent(), std::vector<Bytes>{k.packet});
  EXPECT_EQ(displayWasReset(), k.displayReset);
  if (k.displayReset) {
    EXPECT_EQ(main().testControls().Panel_SV[0]->text(), QStringLiteral("0")) << "satellite rows too";
  }
  EXPECT_EQ(device.lines().size(), lines + (k.portToFactory ? 1 : 0));
  if (k.portToFactory) {
    EXPECT_EQ(device.lines().back(),
              (link::LineSettings{9600, 8, link::Parity::Odd, link::StopBits::One}));
    EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("COM1 9600, 8-Odd-1"));
  } else {
    EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("COM1 19200, 8-None-1"));
  }
}

INSTANTIATE_TEST_SUITE_P(Menus, ControlActionTest, ::testing::ValuesIn(kActions),
                         [](const auto& info) { return std::string(info.param.name); });

using ControlTextTest = WindowFixture;

TEST_F(ControlTextTest, ColdResetAsksToClearRam) {
  prompts.answers.push_back(PromptAnswer::No);
  main().menu.ControlCold->trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Do you really want to clear RAM?"));
}

TEST_F(ControlTextTest, DefaultAllSegmentsWaitsBeforeTheLineChange) {
  main().menu.SetupDefaultAllSegments->trigger();
  ASSERT_EQ(device.writes().size(), 1u);
  // The revert leaves the wire before the settle pause and the line change.
  EXPECT_GE(clock.nowMs() - device.writes()[0].atMs, 200);
}

}  // namespace
