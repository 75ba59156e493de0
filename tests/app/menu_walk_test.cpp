// Every visible item of the running main window's menus, in normal and in
// developer mode, does something the operator can see: it opens a window,
// sends a packet or shows a box. And the help lookup finds the manual.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <set>

#include "widgets/widget_prompts.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using halvix::testing::WindowFixture;

namespace {

// Items that rightly show nothing at once.
const std::set<QString> kQuietByDesign = {
    // Selecting it does nothing at all.
    QStringLiteral("RecTypeDolvoUTC"),
    // Only leaves a request for the next supplemental timing report; the
    // report decoder's tests serve it.
    QStringLiteral("ControlDownloadPos"),
};

// Which menu items are checked and shown: a receiver type or the polling
// switch acts on the menus themselves.
QString MenuState(const std::vector<QAction*>& items) {
  QString state;
  for (QAction* a : items) state += QString::number(a->isChecked()) + QString::number(a->isVisible());
  return state;
}

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
  // Receiver types change the menus: keep the walk to the items seen first.
  std::vector<QAction*> every;
  for (QAction* top : main().menu.MainMenu_Main->actions()) {
    for (QAction* a : top->menu()->findChildren<QAction*>()) every.push_back(a);
  }

  bool diagnosticsSeen = false;
  for (QAction* item : items) {
    const QString name = item->objectName();
    SCOPED_TRACE(name.toStdString());
    diagnosticsSeen |= name == QStringLiteral("ViewDiagnostics");
    hideOthers();
    device.clearWrites();
    const std::size_t boxes = prompts.messages.size();
    const std::size_t files = prompts.fileDialogs.size();
    const int help = prompts.helpShown;
    const QString menus = MenuState(every);
    item->trigger();
    const bool acted = !shownWindows().empty() || !device.writes().empty() ||
                       prompts.messages.size() > boxes || prompts.fileDialogs.size() > files ||
                       prompts.helpShown > help || MenuState(every) != menus;
    EXPECT_EQ(acted, kQuietByDesign.count(name) == 0);
  }
  EXPECT_EQ(diagnosticsSeen, GetParam()) << "the diagnostics item is for developers";
  hideOthers();
}

INSTANTIATE_TEST_SUITE_P(Modes, MenuWalkTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Developer" : "Normal"; });

TEST(HelpLookup, LooksBesideTheProgramFirstAndFindsTheSourceManual) {
  QTemporaryDir dir;
  const QStringList candidates = platform::HelpFileCandidates(dir.path());
  ASSERT_GE(candidates.size(), 3);
  EXPECT_EQ(candidates[0], dir.filePath(QStringLiteral("manual.html")));
  // Nothing beside a fresh folder: the source tree's manual answers.
  const QString found = platform::FindHelpFile(candidates);
  EXPECT_TRUE(found.endsWith(QStringLiteral("/docs/manual.html"))) << found.toStdString();

  QFile beside(candidates[0]);
  ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
  beside.close();
  EXPECT_EQ(platform::FindHelpFile(candidates), candidates[0]);
}

TEST(HelpLookup, AnInstalledProgramShowsItsInstalledManual) {
  // The package's layout: /usr/bin/halvix and /usr/share/doc/halvix/manual.html,
  // on a machine that also holds the source tree the program was built from.
  for (const char* installed : {"share/doc/halvix", "share/halvix"}) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QString::fromLatin1(installed)));
    const QString manual = prefix.filePath(QString::fromLatin1(installed) + QStringLiteral("/manual.html"));
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(platform::FindHelpFile(platform::HelpFileCandidates(prefix.filePath(QStringLiteral("bin")))),
              manual)
        << installed;
  }
}

TEST(HelpLookup, MissingManualSaysWhatAndWhere) {
  const QStringList tried = {QStringLiteral("/nowhere/manual.html"),
                             QStringLiteral("/also/not/manual.html")};
  EXPECT_TRUE(platform::FindHelpFile(tried).isEmpty());
  const QString text = platform::HelpFileMissingText(tried);
  EXPECT_TRUE(text.contains(QStringLiteral("manual.html could not be found")));
  for (const QString& path : tried) EXPECT_TRUE(text.contains(path));
}

TEST(HelpLookup, HelpOpensTheManualAtItsContents) {
  widgets::WidgetPrompts prompts;
  prompts.showHelp();
  QWidget* viewer = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QStringLiteral("HelpViewer") && w->isVisible()) viewer = w;
  }
  ASSERT_NE(viewer, nullptr);
  viewer->close();
}

}  // namespace
