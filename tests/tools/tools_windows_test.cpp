// The Message window's pad (line cap, continued lines, Clear), the EEPROM
// Status window's query and lamps, the About box, and where these open.
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "tests/reports/display_fixture.h"
#include "tools/about_window.h"
#include "tools/eeprom_window.h"
#include "tools/message_window.h"

using namespace halvix;
using namespace halvix::testing;

namespace {

QString Lines(int from, int count) {
  QString text;
  for (int i = from; i < from + count; ++i) text += QStringLiteral("line %1\r\n").arg(i);
  return text;
}

class ToolsWindowsTest : public halvix::testing::DisplayTest {
 protected:
  tools::TForm_Message& messages() { return *windows->message; }
  QString pad() { return messages().testControls().Memo_Pad->toPlainText(); }
};

TEST_F(ToolsWindowsTest, MessagePadKeepsAboutThreeHundredLines) {
  struct Case {
    int before;
    int after;
    const char* first;
  } cases[] = {{300, 301, "line 1"}, {301, 301, "line 2"}, {10, 11, "line 1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    messages().testControls().Button_Clear->click();
    messages().AppendMessage(Lines(1, c.before));
    ASSERT_EQ(messages().lineCount(), c.before);
    messages().AppendMessage(QStringLiteral("new\r\n"));
    EXPECT_EQ(messages().lineCount(), c.after);
    EXPECT_TRUE(pad().startsWith(QString::fromLatin1(c.first) + QLatin1Char('\n')));
    EXPECT_TRUE(pad().endsWith(QStringLiteral("new\n")));
  }
}

TEST_F(ToolsWindowsTest, AppendsWithoutALineEndContinueTheLine) {
  messages().AppendSeparator();
  messages().AppendMessage(QStringLiteral("Application Fatal Error:"));
  messages().AppendMessage(QStringLiteral("bad thing\r\n"));
  messages().AppendMessage(QStringLiteral("next"));
  EXPECT_EQ(pad(), QString(39, QLatin1Char('-')) +
                       QStringLiteral("\nApplication Fatal Error:bad thing\nnext"));
  EXPECT_EQ(messages().lineCount(), 3);

  // The operator may have typed or moved the caret: appends still go to the end.
  QTextCursor start(messages().testControls().Memo_Pad->document());
  messages().testControls().Memo_Pad->setTextCursor(start);
  messages().AppendMessage(QStringLiteral(" end\r\n"));
  EXPECT_TRUE(pad().endsWith(QStringLiteral("next end\n")));

  messages().testControls().Button_Clear->click();
  EXPECT_TRUE(pad().isEmpty());
  messages().AppendMessage(QStringLiteral("after\r\n"));
  EXPECT_EQ(pad(), QStringLiteral("after\n"));
}

TEST_F(ToolsWindowsTest, MessageWindowShowsAndCloses) {
  messages().ShowMessages();
  EXPECT_TRUE(messages().isVisible());
  messages().AppendMessage(QStringLiteral("kept"));
  messages().testControls().Button_Close->click();
  EXPECT_FALSE(messages().isVisible());
  messages().ShowMessages();
  EXPECT_EQ(pad(), QStringLiteral("kept"));
  EXPECT_TRUE(QFontInfo(messages().testControls().Memo_Pad->font()).fixedPitch());
}

TEST_F(ToolsWindowsTest, EepromWindowGreysAndAsksOnShowAndRefresh) {
  tools::TForm_EEPROM& e = *windows->eeprom;
  feed(0x5F, PayloadWriter(3).byte(0, 0x11).word(1, 0x0801));
  ASSERT_EQ(e.segmentLamp(11)->color(), Rgb(widgets::kLampAlarm));
  sent();
  main().menu.ViewEEPROM->trigger();
  EXPECT_TRUE(e.isVisible());
  for (int bit : tools::TForm_EEPROM::kShownBits) {
    EXPECT_EQ(e.segmentLamp(bit)->color(), Rgb(widgets::kLampIdle)) << bit;
  }
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x3F, 0x11}}));

  feed(0x5F, PayloadWriter(3).byte(0, 0x11).word(1, 0xF600));  // bits 9, 10, 12.. have no lamp
  for (int bit : tools::TForm_EEPROM::kShownBits) {
    EXPECT_EQ(e.segmentLamp(bit)->color(), Rgb(widgets::kLampLit)) << bit;
  }
  e.testControls().Button_Refresh->click();
  EXPECT_EQ(e.segmentLamp(0)->color(), Rgb(widgets::kLampIdle));
  EXPECT_EQ(sent(), (std::vector<Bytes>{{0x3F, 0x11}}));
  EXPECT_EQ(e.segmentLamp(9), nullptr);
  EXPECT_EQ(e.findChild<QLabel*>(QStringLiteral("Label_Bit11"))->text(), "UTC information");
}

TEST_F(ToolsWindowsTest, AboutBoxShowsTheNameVersionAndPicture) {
  main().menu.HelpAbout->trigger();
  tools::TForm_About& a = *windows->about;
  EXPECT_TRUE(a.isVisible());
  EXPECT_EQ(a.testControls().Label_Name->text(), "Halvix");
  EXPECT_EQ(a.testControls().Label_Version->text(), "Version 2.32");
  // The build's own version, the one --version prints, below the classic caption.
  EXPECT_EQ(a.testControls().Label_ProjectVersion->text(), QStringLiteral("Halvix " HALVIX_VERSION));
  EXPECT_GE(a.testControls().Label_ProjectVersion->y(), a.testControls().Label_Version->geometry().bottom());
  const QImage picture = a.testControls().Image_Pic->pixmap().toImage();
  ASSERT_FALSE(picture.isNull());
  // Something is drawn: the centre of the clock face is not transparent.
  EXPECT_GT(qAlpha(picture.pixel(picture.width() * 54 / 128, picture.height() * 60 / 128)), 0);
  // The frame hugs the picture and sits in the middle of its panel.
  const QRect frame = a.testControls().Panel_Pic->geometry();
  EXPECT_EQ(frame.size(), picture.size() + QSize(4, 4));
  EXPECT_LE(std::abs(frame.center().x() - a.testControls().Panel_About->width() / 2), 1);
  a.testControls().Button_OK->click();
  EXPECT_FALSE(a.isVisible());
}

// The tools' fixed windows open in the middle of the screen the first time;
// after the operator has moved one, it opens again where it was left.
TEST_F(ToolsWindowsTest, FixedWindowsOpenCentredOnceThenStayWhereMoved) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (QDialog* w : std::initializer_list<QDialog*>{windows->about.get(), windows->message.get(),
                                                    windows->eeprom.get()}) {
    SCOPED_TRACE(w->objectName().toStdString());
    w->move(screen.topLeft());  // where the window system would otherwise leave it
    w->show();
    EXPECT_LE((w->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    w->hide();
    w->move(screen.topLeft() + QPoint(5, 7));
    w->show();
    EXPECT_EQ(w->pos(), screen.topLeft() + QPoint(5, 7));
    w->hide();
  }
}

}  // namespace
