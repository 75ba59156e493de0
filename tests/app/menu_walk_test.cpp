// Every visible item of the running main window's menus, in normal and in
// developer mode, does something the operator can see: it opens a window,
// sends a packet or shows a box. And the help lookup finds the manual.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <set>

#include "app/widget_prompts.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using halvix::testing::WindowFixture;

namespace {

// Items built by other work that may still do nothing here; each entry goes
// when its feature arrives.
const std::set<QString> kNotYetActing = {
    // Receiver types and their menu configuration.
    QStringLiteral("RecTypeCvl"), QStringLiteral("RecTypeCvlNorden"),
    QStringLiteral("RecTypeCvlPellam"), QStringLiteral("RecTypeCvlCVL2"),
    QStringLiteral("RecTypeBrisel"), QStringLiteral("RecTypeDolvoUTC"),
    // The timing packet polling switch.
    QStringLiteral("ControlPollingTimingPkts"),
    // The almanac transfers (their file dialog is cancelled here).
    QStringLiteral("ControlUploadAlmanac"), QStringLiteral("ControlDownloadAlmanac"),
    // Only leaves a request for the next supplemental timing report; the
    // report decoder's tests serve it.
    QStringLiteral("ControlDownloadPos"),
};

void collect(QMenu* menu, std::vector<QAction*>& items) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || !a->isVisible()) continue;
    if (a->menu() != nullptr) collect(a->menu(), items);
    else items.push_back(a);
  }
}

class MenuWalkTest : public WindowFixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override { make(GetParam(), true); }

  std::vector<QWidget*> shownWindows() {
    std::vector<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != windows->main.get() && w->isVisible()) shown.push_back(w);
    }
    return shown;
  }
  void hideOthers() {
    for (QWidget* w : shownWindows()) w->hide();
  }
};

TEST_P(MenuWalkTest, EveryVisibleItemActs) {
  main().show();
  std::vector<QAction*> items;
  for (QAction* top : main().menu.MainMenu_Main->actions()) collect(top->menu(), items);
  ASSERT_GT(items.size(), 40u);

  bool diagnosticsSeen = false;
  for (QAction* item : items) {
    const QString name = item->objectName();
    SCOPED_TRACE(name.toStdString());
    diagnosticsSeen |= name == QStringLiteral("ViewDiagnostics");
    hideOthers();
    device.clearWrites();
    const std::size_t boxes = prompts.messages.size();
    const int help = prompts.helpShown;
    item->trigger();
    const bool acted = !shownWindows().empty() || !device.writes().empty() ||
                       prompts.messages.size() > boxes || prompts.helpShown > help;
    if (kNotYetActing.count(name) == 0) {
      EXPECT_TRUE(acted);
    }
  }
  EXPECT_EQ(diagnosticsSeen, GetParam()) << "the diagnostics item is for developers";
  hideOthers();
}

INSTANTIATE_TEST_SUITE_P(Modes, MenuWalkTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Developer" : "Normal"; });

TEST(HelpLookup, LooksBesideTheProgramFirstAndFindsTheSourceManual) {
  QTemporaryDir dir;
  const QStringList candidates = app::HelpFileCandidates(dir.path());
  ASSERT_GE(candidates.size(), 3);
  EXPECT_EQ(candidates[0], dir.filePath(QStringLiteral("manual.html")));
  // Nothing beside a fresh folder: the source tree's manual answers.
  const QString found = app::FindHelpFile(candidates);
  EXPECT_TRUE(found.endsWith(QStringLiteral("/docs/manual.html"))) << found.toStdString();

  QFile beside(candidates[0]);
  ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
  beside.close();
  EXPECT_EQ(app::FindHelpFile(candidates), candidates[0]);
}

TEST(HelpLookup, MissingManualSaysWhatAndWhere) {
  const QStringList tried = {QStringLiteral("/nowhere/manual.html"),
                             QStringLiteral("/also/not/manual.html")};
  EXPECT_TRUE(app::FindHelpFile(tried).isEmpty());
  const QString text = app::HelpFileMissingText(tried);
  EXPECT_TRUE(text.contains(QStringLiteral("manual.html could not be found")));
  for (const QString& path : tried) EXPECT_TRUE(text.contains(path));
}

TEST(HelpLookup, HelpOpensTheManualAtItsContents) {
  app::WidgetPrompts prompts;
  prompts.showHelp();
  QWidget* viewer = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QStringLiteral("HelpViewer") && w->isVisible()) viewer = w;
  }
  ASSERT_NE(viewer, nullptr);
  viewer->close();
}

}  // namespace
