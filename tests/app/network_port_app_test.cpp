// A receiver behind a serial server as the operator names it: on the command
// line, typed into the port dialog, and what the title and the status bar say
// once the server has answered (a scripted server on loopback).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include "app/comm_dialog.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/program.h"
#include "link/telnet_codec.h"
#include "widgets/value_panel.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/wait_for.h"

using namespace halvix;
using namespace halvix::link::telnet;

using halvix::testing::WaitFor;

TEST(NetworkPortApp, TheCommandLineRefusesAMalformedAddressAndLabelsAGoodOne) {
  const app::CommandLine bad = app::ParseCommandLine({QStringLiteral("--port=rfc2217://rack")});
  ASSERT_EQ(bad.errors.size(), 1);
  EXPECT_TRUE(bad.errors[0].contains(QStringLiteral("rfc2217://rack"))) << bad.errors[0].toStdString();
  EXPECT_TRUE(bad.errors[0].contains(QStringLiteral("port number"))) << bad.errors[0].toStdString();

  struct Case {
    const char* arg;
    const char* label;
  };
  for (const Case& c : {Case{"--port=tcp://[::1]:4001", "[::1]:4001"},
                        Case{"--port=rfc2217://gps-rack.lab:2001", "gps-rack.lab:2001"}}) {
    const app::CommandLine cl = app::ParseCommandLine({QString::fromLatin1(c.arg)});
    EXPECT_TRUE(cl.errors.isEmpty()) << c.arg;
    const app::PortChoice p = app::PortChoiceFromCommandLine(cl);
    EXPECT_TRUE(p.network) << c.arg;
    EXPECT_EQ(p.deviceName, QString::fromLatin1(c.arg).mid(7));
    EXPECT_EQ(p.panelLabel, QString::fromLatin1(c.label));
    EXPECT_EQ(p.titlePrefix, QString::fromLatin1(c.label));
  }
}

TEST(NetworkPortApp, TheDialogTakesATypedServerAndKeepsAMalformedOneOpenWithTheReason) {
  app::TForm_Comm d(std::vector<link::DetectedPort>{});
  d.show();
  auto* edit = d.findChild<QLineEdit*>(QStringLiteral("Edit_Server"));
  auto* error = d.findChild<QLabel*>(QStringLiteral("Label_ServerError"));
  auto* ok = d.findChild<QPushButton*>(QStringLiteral("Button_Continue"));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(error, nullptr);
  ASSERT_NE(ok, nullptr);

  QTest::keyClicks(edit, QStringLiteral("tcp://rack:99999"));
  ok->click();
  EXPECT_NE(d.result(), app::TForm_Comm::kResultOk) << "a malformed address does not end the dialog";
  EXPECT_TRUE(error->isVisible());
  EXPECT_TRUE(error->text().contains(QStringLiteral("tcp://rack:99999")));
  EXPECT_FALSE(app::ChosenPort(d));

  edit->clear();
  QTest::keyClicks(edit, QStringLiteral("  tcp://rack:4001 "));
  EXPECT_FALSE(error->isVisible()) << "editing clears the complaint";
  ok->click();
  ASSERT_EQ(d.result(), app::TForm_Comm::kResultOk);
  EXPECT_EQ(app::ChosenPort(d), app::PortDialogChoice::Path(QStringLiteral("tcp://rack:4001")));

  // Left empty, the list decides as before.
  app::TForm_Comm plain(std::vector<link::DetectedPort>{});
  plain.findChild<QPushButton*>(QStringLiteral("Button_Continue"))->click();
  EXPECT_EQ(app::ChosenPort(plain), app::PortDialogChoice(1));
}

class NetworkProgramTest : public ::testing::Test {
 protected:
  session::VirtualScheduler scheduler{0};
  halvix::testing::ScriptedPrompts prompts;
  std::unique_ptr<app::Program> program = std::make_unique<app::Program>(app::ProgramSeams{
      prompts, scheduler, [] { return std::optional<app::PortDialogChoice>(); }, &app::MakeDevice});
  QTcpServer server;
};

TEST_F(NetworkProgramTest, TitleAndStatusBarNameTheServerAndShowTheLineItTook) {
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  const QString label = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
  ASSERT_TRUE(program->start({QStringLiteral("--port=rfc2217://") + label}));
  app::TForm_Main& main = *program->mainWindow();
  EXPECT_EQ(main.windowTitle(), label + QStringLiteral(" Halvix"));
  EXPECT_EQ(main.testControls().Panel_Serial->text(), label + QStringLiteral(" 9600, 8-None-1"));

  ASSERT_TRUE(WaitFor([&] { return server.hasPendingConnections(); }));
  std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
  // The server agrees and says it runs at 4800 baud whatever was asked.
  peer->write(Negotiation(kDo, kOptionComPort) + Subnegotiation(kOptionComPort, QByteArray::fromHex("650000 12c0")) +
              Subnegotiation(kOptionComPort, QByteArray::fromHex("6608")) +
              Subnegotiation(kOptionComPort, QByteArray::fromHex("6701")) +
              Subnegotiation(kOptionComPort, QByteArray::fromHex("6801")));
  peer->flush();
  EXPECT_TRUE(WaitFor([&] { return main.testControls().Panel_Serial->text() == label + QStringLiteral(" 4800, 8-None-1"); }))
      << main.testControls().Panel_Serial->text().toStdString();
  main.close();
}

TEST_F(NetworkProgramTest, ARefusedConnectionAtStartUpNamesTheAddress) {
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  const QString url = QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort());
  server.close();
  EXPECT_FALSE(program->start({QStringLiteral("--port=") + url}));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Serial Port Error"));
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Could not initialize %1.").arg(url));
}

TEST_F(NetworkProgramTest, ARawServerIsShownAsSuchRightAfterTheOpenAndAfterEachLineChange) {
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  const QString label = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
  ASSERT_TRUE(program->start({QStringLiteral("--port=tcp://") + label}));
  app::TForm_Main& main = *program->mainWindow();
  EXPECT_EQ(main.testControls().Panel_Serial->text(), label + QStringLiteral(" raw TCP"));
  // The end of the break sequence changes the line: the caption must not claim it.
  link::PortSettings odd;
  link::DefaultPortSettings(0xFF, odd);
  main.ApplyPortSettings(odd);
  QCoreApplication::processEvents();
  EXPECT_EQ(main.testControls().Panel_Serial->text(), label + QStringLiteral(" raw TCP"));
  // So does a reconnect, which shows the opening line first.
  main.testControls().Panel_Serial->setText(QStringLiteral("Disconnected ") + label);
  program->serialLink()->ReopenLink();
  main.ShowSerialCaption(link::OpenedPortCaption(label));
  QCoreApplication::processEvents();
  EXPECT_EQ(main.testControls().Panel_Serial->text(), label + QStringLiteral(" raw TCP"));
  main.close();
}
