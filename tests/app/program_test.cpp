// Start-up through the program entry: which port the command line or the
// port dialog chooses, the device name that reaches open(), the failed open,
// and the state a successful start leaves behind.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QStyle>

#include "app/comm_dialog.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/splash_window.h"
#include "app/windows.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "tests/support/scripted_device.h"
#include "tests/support/scripted_prompts.h"

using namespace halvix;
using namespace halvix::testing;
using namespace session;

namespace {

QString comDevice(int n) {
#ifdef Q_OS_WIN
  return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
  return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

class ProgramTest : public ::testing::Test {
 protected:
  session::VirtualScheduler scheduler{0};
  link::VirtualClock& clock = scheduler.virtualClock();
  ScriptedPrompts prompts;
  int dialogsShown = 0;
  std::function<std::optional<app::PortDialogChoice>()> dialog = [] {
    return std::optional<app::PortDialogChoice>();
  };
  ScriptedDevice* device = nullptr;
  app::PortChoice portSeen;
  bool failOpen = false;

  std::unique_ptr<app::Program> program = std::make_unique<app::Program>(app::ProgramSeams{
      prompts, scheduler,
      [this] {
        ++dialogsShown;
        return dialog();
      },
      [this](const app::PortChoice& port, link::Clock& c) {
        portSeen = port;
        auto d = std::make_unique<ScriptedDevice>(&c);
        d->failOpen(failOpen);
        device = d.get();
        return d;
      }});

  bool start(const QStringList& args) { return program->start(args); }
  app::TForm_Main* main() const { return program->mainWindow(); }
  ReceiverSession& session() const { return *program->session(); }
  // Runs the session until routine polling has begun.
  void runToPolling() {
    for (int i = 0; i < 100 && session().state() != SessionState::Polling; ++i) scheduler.advance(200);
    ASSERT_EQ(session().state(), SessionState::Polling);
  }
};

TEST_F(ProgramTest, CommandLineSwitchesChooseThePort) {
  struct Case {
    QStringList args;
    std::optional<int> dialogAnswer;
    bool dialogShown;
    bool developer;
    int com;
  };
  const Case cases[] = {
      {{"-c5"}, {}, false, false, 5},
      {{"/c12"}, {}, false, false, 12},
      {{"-d", "-c2"}, {}, false, true, 2},
      // The second character is 'd', so this names no port.
      {{"-dc2"}, 4, true, true, 4},
      {{"/d"}, 20, true, true, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    program = std::make_unique<app::Program>(app::ProgramSeams{
        prompts, scheduler,
        [&] {
          ++dialogsShown;
          return c.dialogAnswer;
        },
        [this](const app::PortChoice&, link::Clock& cl) {
          auto d = std::make_unique<ScriptedDevice>(&cl);
          device = d.get();
          return d;
        }});
    dialogsShown = 0;
    ASSERT_TRUE(start(c.args));
    EXPECT_EQ(dialogsShown, c.dialogShown ? 1 : 0);
    EXPECT_EQ(program->commandLine().developerMode, c.developer);
    EXPECT_EQ(device->openedName(), comDevice(c.com));
    ASSERT_NE(main(), nullptr);
    EXPECT_EQ(main()->windowTitle(), QStringLiteral("%1 Halvix").arg(c.com));
    EXPECT_EQ(main()->testControls().Panel_Serial->text(), QStringLiteral("COM%1 9600, 8-None-1").arg(c.com));
    EXPECT_EQ(main()->menu.ViewDiagnostics->isVisible(), c.developer);
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ProgramTest, SuccessfulStartOpensAt9600AndStartsOnlyTheBreakSequence) {
  ASSERT_TRUE(start({"-c3"}));
  ASSERT_NE(main(), nullptr);
  EXPECT_TRUE(main()->isVisible());
  ASSERT_FALSE(device->lines().empty());
  EXPECT_EQ(device->lines().front(), (link::LineSettings{9600, 8, link::Parity::None, link::StopBits::One}));
  // The full negotiation from its first step; no poll tick yet, and the
  // window's link is the session's.
  EXPECT_EQ(session().state(), SessionState::Negotiating);
  EXPECT_EQ(session().breakForm(), session::BreakForm::Full);
  EXPECT_EQ(session().breakCountdown(), 12);
  EXPECT_EQ(&main()->context().link, &session().link());
  EXPECT_EQ(&main()->dispatcher(), &session().dispatcher());
  EXPECT_TRUE(program->serialLink()->sendEnabled);
  // Hints appear after half a second.
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
  // Every window exists, none but the main window is shown.
  ASSERT_NE(program->windows(), nullptr);
  EXPECT_EQ(program->windows()->creationOrder.size(), 33u);
  for (QWidget* w : program->windows()->creationOrder) {
    if (w != main()) {
      EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
  }
  // BREAK is raised one 200 ms step after the open, under the splash.
  scheduler.advance(199);
  EXPECT_TRUE(device->breakEvents().empty());
  scheduler.advance(1);
  EXPECT_EQ(device->breakEvents(), std::vector<bool>{true});
  EXPECT_TRUE(program->windows()->splash->isVisible());
  main()->close();
}

TEST_F(ProgramTest, FailedOpenTellsTheOperatorAndEndsTheRun) {
  failOpen = true;
  // A 'c' switch with no number leaves the port at 0.
  EXPECT_FALSE(start({"-c"}));
  EXPECT_EQ(main(), nullptr);
  EXPECT_EQ(program->windows(), nullptr);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Serial Port Error"));
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Could not initialize COM0."));
  EXPECT_EQ(prompts.messages[0].buttons, platform::PromptButtons::Ok);
  EXPECT_EQ(dialogsShown, 0);
  EXPECT_TRUE(device->writes().empty());
}

TEST_F(ProgramTest, FailedOpenOfADevicePathNamesThePath) {
  failOpen = true;
  EXPECT_FALSE(start({"--port=/dev/ttyUSB7"}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Could not initialize /dev/ttyUSB7."));
}

TEST_F(ProgramTest, PortDialogChoosesOrCancels) {
  // OK without touching the list: COM1.
  dialog = [] {
    app::TForm_Comm d;
    d.Button_ContinueClick();
    return app::ChosenPort(d);
  };
  ASSERT_TRUE(start({}));
  EXPECT_EQ(dialogsShown, 1);
  EXPECT_EQ(device->openedName(), comDevice(1));

  // Cancel: no device, no window.
  program = std::make_unique<app::Program>(app::ProgramSeams{
      prompts, scheduler,
      [] {
        app::TForm_Comm d;
        d.Button_CancelClick();
        return app::ChosenPort(d);
      },
      [this](const app::PortChoice&, link::Clock& c) {
        ADD_FAILURE() << "no device may be created after Cancel";
        return std::make_unique<ScriptedDevice>(&c);
      }});
  EXPECT_FALSE(start({}));
  EXPECT_EQ(main(), nullptr);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ProgramTest, DevicePathAndSimulatorAreLabelledAsSuch) {
  ASSERT_TRUE(start({"--port=/dev/ttyUSB0"}));
  EXPECT_EQ(device->openedName(), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(main()->testControls().Panel_Serial->text(), QStringLiteral("ttyUSB0 9600, 8-None-1"));
  EXPECT_EQ(main()->windowTitle(), QStringLiteral("ttyUSB0 Halvix"));
  // A pseudo-terminal keeps its folder, or it would show as a bare number.
  EXPECT_EQ(app::PortChoiceFromCommandLine(app::ParseCommandLine({QStringLiteral("--port=/dev/pts/3")}))
                .panelLabel,
            QStringLiteral("pts/3"));

  program.reset();
  program = std::make_unique<app::Program>(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<int>(); },
      [this](const app::PortChoice& port, link::Clock& c) {
        portSeen = port;
        return std::make_unique<ScriptedDevice>(&c);
      }});
  ASSERT_TRUE(start({"--simulate=brisel"}));
  EXPECT_TRUE(portSeen.simulated);
  EXPECT_EQ(portSeen.persona, QStringLiteral("brisel"));
  EXPECT_EQ(main()->testControls().Panel_Serial->text(), QStringLiteral("SIM 9600, 8-None-1"));
  EXPECT_EQ(main()->windowTitle(), QStringLiteral("Simulated Halvix"));
}

TEST_F(ProgramTest, LostDeviceIsReportedOnceAfterTheTick) {
  ASSERT_TRUE(start({"-c1"}));
  runToPolling();
  device->loseDevice();
  scheduler.advance(400);
  // Not inside the tick: the box would open in the middle of a poll.
  EXPECT_TRUE(prompts.messages.empty());
  QCoreApplication::sendPostedEvents();
  scheduler.advance(2200);
  QCoreApplication::sendPostedEvents();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Serial Port Error"));
  EXPECT_TRUE(prompts.messages[0].text.contains(comDevice(1)));
}

TEST_F(ProgramTest, CommandLineNumbersAndValuesAreCheckedBeforeAnythingOpens) {
  struct Case {
    QStringList args;
    std::optional<int> com;  // unset: refused
  };
  const Case cases[] = {
      {{"-c4294967297"}, {}}, {{"-c-2147483648"}, {}}, {{"-c0"}, {}}, {{"-c256"}, {}},
      {{"-c-3"}, {}},         {{"-c255"}, 255},        {{"-c 7"}, 7},  {{"-c+9"}, 9},
      // No number at all keeps the classic meaning: port 0, whose open fails.
      {{"-c"}, 0},            {{"-cx"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const app::CommandLine cl = app::ParseCommandLine(c.args);
    EXPECT_EQ(cl.errors.isEmpty(), c.com.has_value()) << cl.errors.join(';').toStdString();
    if (c.com) {
      EXPECT_EQ(cl.comPort, c.com);
    }
  }
  for (const char* bad : {"--simulate=foo", "--port="}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(app::ParseCommandLine({QString::fromLatin1(bad)}).errors.size(), 1);
  }
  EXPECT_TRUE(app::ParseCommandLine({"--simulate=Brisel"}).errors.isEmpty());
}

TEST_F(ProgramTest, AVanishedDeviceSaysDisconnectedAndComesBackThroughTheBreakSequence) {
  ASSERT_TRUE(start({"-c1"}));
  app::TForm_Main& m = *main();
  runToPolling();
  device->loseDevice();
  for (int i = 0; i < 40 && device->isOpen(); ++i) scheduler.advance(10);
  const std::int64_t lostAt = clock.nowMs();
  QCoreApplication::sendPostedEvents();
  EXPECT_FALSE(device->isOpen());
  EXPECT_EQ(session().state(), SessionState::Waiting);
  EXPECT_EQ(m.testControls().Panel_Serial->text(), QStringLiteral("Disconnected COM1"));
  ASSERT_EQ(prompts.messages.size(), 1u);

  // Still gone: no poll goes out, and what the operator sends is dropped.
  device->clearWrites();
  scheduler.advance(2 * ReceiverSession::kReconnectMs);
  m.menu.ControlTimeToPC->trigger();
  EXPECT_TRUE(device->writes().empty());
  EXPECT_GT(program->serialLink()->sendsDropped, 0u);
  EXPECT_FALSE(device->isOpen());

  // Back: the device is tried every 2 s, and the line negotiated again from the BREAK on.
  device->restoreDevice();
  scheduler.advance(lostAt + 3 * ReceiverSession::kReconnectMs - 20 - clock.nowMs());
  EXPECT_FALSE(device->isOpen());
  scheduler.advance(30);
  EXPECT_TRUE(device->isOpen());
  EXPECT_EQ(session().state(), SessionState::Negotiating);
  EXPECT_EQ(m.testControls().Panel_Serial->text(), QStringLiteral("COM1 9600, 8-None-1"));
  for (int i = 0; i < 40 && device->writes().empty(); ++i) scheduler.advance(200);
  ASSERT_FALSE(device->writes().empty());
  EXPECT_EQ(device->breakEvents().back(), false);
  EXPECT_EQ(device->writes().front().bytes, (halvix::testing::Bytes{0x10, 0x1F, 0x00, 0x00, 0x10, 0x03}));

  // A second loss shows in the status bar only: one box per run.
  device->loseDevice();
  scheduler.advance(400);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(m.testControls().Panel_Serial->text(), QStringLiteral("Disconnected COM1"));
  EXPECT_EQ(prompts.messages.size(), 1u);
}

// A decoder's box is open (the poll tick that opened it is still running) when
// the device hangs up: the port closes and the reconnect starts inside the
// box's own loop, and a device that is back is negotiated again there.
TEST_F(ProgramTest, AHangUpWhileABoxIsOpenClosesThePortAndReconnectsAtOnce) {
  ASSERT_TRUE(start({"-c1"}));
  app::TForm_Main& m = *main();
  runToPolling();
  bool checkedInsideTheBox = false;
  m.dispatcher().setDecoder("41", [&](const std::uint8_t*, int) {
    prompts.whileOpen = [&] {
      device->hangUp();
      // The box's loop: the session's steps run (ticks return at once), events are delivered.
      for (int i = 0; i < 5; ++i) {
        scheduler.advance(200);
        QCoreApplication::processEvents();
      }
      EXPECT_FALSE(device->isOpen());
      EXPECT_TRUE(program->serialLink()->lost());
      EXPECT_EQ(m.testControls().Panel_Serial->text(), QStringLiteral("Disconnected COM1"));
      EXPECT_EQ(session().state(), SessionState::Waiting);
      device->restoreDevice();
      scheduler.advance(ReceiverSession::kReconnectMs);
      EXPECT_TRUE(device->isOpen());
      EXPECT_EQ(session().state(), SessionState::Negotiating);
      checkedInsideTheBox = true;
    };
    prompts.message(QStringLiteral("Question"), QStringLiteral("Open while the cable is pulled"),
                    platform::PromptButtons::YesNo, platform::PromptIcon::Question);
  });
  device->queueRead({0x10, 0x41, 0x01, 0x10, 0x03});
  scheduler.advance(200);
  EXPECT_TRUE(checkedInsideTheBox);
  EXPECT_FALSE(program->serialLink()->lost());
}

// The display reset reads what waits before it blanks; a decoder there opens a
// box whose loop runs the link timer. That tick must not take the display
// reset's unread reports: they are all decoded once the box is answered.
TEST_F(ProgramTest, ATickInsideTheDisplayResetsReadLosesNoReport) {
  ASSERT_TRUE(start({"-c1"}));
  app::TForm_Main& m = *main();
  runToPolling();
  std::vector<int> decoded;
  m.dispatcher().setDecoder("41", [&](const std::uint8_t*, int) {
    decoded.push_back(0x41);
    prompts.whileOpen = [&] {
      device->queueRead({0x10, 0x6D, 0x07, 0x10, 0x03});
      scheduler.advance(200);
      QCoreApplication::processEvents();
    };
    prompts.message(QStringLiteral("Question"), QStringLiteral("A box from a decoder"),
                    platform::PromptButtons::Ok, platform::PromptIcon::Information);
  });
  m.dispatcher().setDecoder("46", [&](const std::uint8_t*, int) { decoded.push_back(0x46); });
  m.dispatcher().setDecoder("6D", [&](const std::uint8_t*, int) { decoded.push_back(0x6D); });
  if (!m.menu.ControlPollingTimingPkts->isChecked()) m.menu.ControlPollingTimingPkts->setChecked(true);
  device->queueRead({0x10, 0x41, 0x01, 0x10, 0x03, 0x10, 0x46, 0x02, 0x10, 0x03});
  m.menu.ControlPollingTimingPkts->trigger();  // unchecking asks nothing, then resets the display
  EXPECT_EQ(decoded, (std::vector<int>{0x41, 0x46}));
  scheduler.advance(200);
  EXPECT_EQ(decoded, (std::vector<int>{0x41, 0x46, 0x6D}));
}

TEST_F(ProgramTest, CloseEndsTheLinkAndDestroyRunsItsHooks) {
  ASSERT_TRUE(start({"-c2"}));
  int destroyed = 0;
  main()->hooks.destroy.push_back([&] { ++destroyed; });
  runToPolling();
  main()->close();
  EXPECT_FALSE(device->isOpen());
  // Nothing of the session is left to run.
  EXPECT_EQ(session().state(), SessionState::Stopped);
  EXPECT_EQ(scheduler.pending(), 0u);
  EXPECT_EQ(destroyed, 0);
  program.reset();
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
