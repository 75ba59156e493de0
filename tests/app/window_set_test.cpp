// A window outside the start-up set, as a new dialog's menu row makes it: made
// once on the run's context when first asked for, a window of its own, and
// gone with the run before the main window.
#include <QDialog>
#include <QPointer>

#include "tests/support/window_fixture.h"

using namespace halvix;

namespace {

class LaterDialog : public QDialog {
 public:
  explicit LaterDialog(reports::WindowContext& c) : context(c) {}
  reports::WindowContext& context;
};

using WindowSetTest = halvix::testing::WindowFixture;

TEST_F(WindowSetTest, AWindowMadeLaterIsMadeOnceOnTheRunsContext) {
  const std::size_t startUp = windows->creationOrder.size();
  LaterDialog* dialog = windows->made<LaterDialog>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(windows->made<LaterDialog>(), dialog);
  EXPECT_EQ(&dialog->context, context.get());
  EXPECT_TRUE(dialog->isWindow());
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(windows->creationOrder.size(), startUp + 1);
  EXPECT_EQ(windows->creationOrder.back(), dialog);

  // It goes with the run, while the main window still stands.
  QPointer<QWidget> mainWindow = windows->main.get();
  bool mainAliveAtItsEnd = false;
  QObject::connect(dialog, &QObject::destroyed, [&] { mainAliveAtItsEnd = !mainWindow.isNull(); });
  windows.reset();
  EXPECT_TRUE(mainAliveAtItsEnd);
}

}  // namespace
