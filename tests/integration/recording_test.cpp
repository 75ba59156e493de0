// The recording in the running program: started from the Control menu's
// window, it holds the dispatched reports exactly as the line carried them,
// not the replies the almanac transfer consumed, and it is complete on disk
// when the program closes without Stop.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "app/windows.h"
#include "tests/integration/tool_harness.h"
#include "tools/log_qlip_window.h"

using namespace halvix;
using halvix::testing::SplitFrames;
using halvix::testing::ToolHarness;

namespace {

TEST(RecordingInTheProgram, CompleteAfterCloseAndFreeOfTransferReplies) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("run.qlp"));
  QByteArray lineBytes;
  {
    ToolHarness h;
    ASSERT_TRUE(h.startFast(4));
    h.main().menu.ControlRecordQlip->trigger();
    tools::TForm_LogQlip& w = *h.windows().logQlip;
    EXPECT_TRUE(w.isVisible());
    h.prompts.fileNames.push_back(name);
    w.testControls().Button_Open->click();
    w.testControls().Button_Start->click();
    ASSERT_TRUE(w.recordingOn());
    w.testControls().Button_Close->click();
    h.runSeconds(10);
    h.prompts.fileNames.push_back(dir.filePath(QStringLiteral("system.dat")));
    h.main().menu.ControlDownloadAlmanac->trigger();
    h.runSeconds(10);
    lineBytes = h.bytesRead();
    h.main().close();
  }  // the program ends here, still recording

  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray recorded = f.readAll();
  ASSERT_GT(recorded.size(), 1000);
  EXPECT_TRUE(recorded.startsWith('\x10'));
  EXPECT_TRUE(recorded.endsWith(QByteArray("\x10\x03", 2)));
  const auto frames = SplitFrames(recorded);
  const auto onLine = SplitFrames(lineBytes);
  // Every recorded frame in the line's order, the 0x58 replies left out.
  std::size_t k = 0;
  for (const QByteArray& frame : frames) {
    EXPECT_NE(frame.at(0), '\x58');
    while (k < onLine.size() && onLine[k] != frame) ++k;
    ASSERT_LT(k, onLine.size()) << "frame not on the line in this order";
    ++k;
  }
  const auto replies = std::count_if(onLine.begin(), onLine.end(),
                                     [](const QByteArray& f) { return f.at(0) == '\x58'; });
  EXPECT_EQ(replies, 35);
}

}  // namespace
