// Almanac and system-data transfer through the Control menu against the
// simulated receiver: the file a download writes, what an upload sends and
// logs, and the receiver's faults (a missing almanac, refused loads, silence).
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"
#include "app/windows.h"
#include "sim/system_data.h"
#include "tests/integration/tool_harness.h"
#include "tools/alm_window.h"
#include "tools/almanac_transfer.h"

using namespace halvix;
using halvix::testing::ToolHarness;

namespace {

class AlmanacTransferTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ToolHarness h;

  // A receiver that has collected its system data.
  void start(std::initializer_list<const char*> faults = {}) {
    sim::SimOptions o;
    o.speed = 100;
    o.restartSilenceMs = 1000;
    for (const char* f : faults) {
      QString error;
      ASSERT_TRUE(sim::ParseFault(QString::fromLatin1(f), o.faults, &error)) << error.toStdString();
    }
    ASSERT_TRUE(h.start(o));
    h.runSeconds(8);
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  void download(const QString& file) {
    h.prompts.fileNames.push_back(file);
    h.main().menu.ControlDownloadAlmanac->trigger();
  }
  void upload(const QString& file) {
    h.prompts.fileNames.push_back(file);
    h.main().menu.ControlUploadAlmanac->trigger();
  }
  QString log() { return h.windows().alm->testControls().Memo_Alm->toPlainText(); }
  int loadsSent() { return h.countFrames({0x38, 0x02}); }
  bool failed() {
    for (const auto& m : h.prompts.messages) {
      if (m.title == QStringLiteral("Failure") && m.text == QStringLiteral("Almanac download failed."))
        return true;
    }
    return false;
  }
  static QByteArray Read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  static void Write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
};

// Record starts and lengths in a downloaded file, walked by the layout.
struct Walked {
  std::vector<QByteArray> heads;  // start marker, type and (per SV) the SV
  int dataBytes = 0;
  bool wellFormed = true;
};
Walked Walk(const QByteArray& file) {
  Walked w;
  int i = 2;
  while (i < file.size()) {
    const int type = static_cast<unsigned char>(file[i + 1]);
    const int head = type <= 2 ? 3 : 2;
    const int n = static_cast<unsigned char>(file[i + head]);
    w.heads.push_back(file.mid(i, head));
    w.dataBytes += n;
    i += head + 1 + n;
    if (i >= file.size() || static_cast<unsigned char>(file[i]) != 0x83) w.wellFormed = false;
    ++i;
  }
  return w;
}

TEST_F(AlmanacTransferTest, CompleteDownloadThenUploadEveryBlockAcknowledged) {
  start();
  const QString file = path("system.dat");
  session::ReceiverSession& session = *h.program().session();
  bool heldDuring = false;
  // Each log line is written while the transfer owns the link.
  QObject::connect(h.windows().alm->testControls().Memo_Alm, &QPlainTextEdit::textChanged,
                   [&] { heldDuring = heldDuring || session.pollingHeld(); });
  download(file);
  EXPECT_FALSE(failed());
  EXPECT_TRUE(heldDuring) << "the poll cycle is held while the transfer owns the link";
  EXPECT_FALSE(session.pollingHeld()) << "and goes on afterwards";
  EXPECT_EQ(session.state(), session::SessionState::Polling);

  const QByteArray bytes = Read(file);
  ASSERT_GE(bytes.size(), 4);
  EXPECT_EQ(bytes.left(4), QByteArray("\x00\x00\x82\x03", 4));
  const Walked w = Walk(bytes);
  EXPECT_TRUE(w.wellFormed);
  ASSERT_EQ(w.heads.size(), 35u);
  for (int sv = 1; sv <= 32; ++sv) {
    EXPECT_EQ(w.heads[static_cast<std::size_t>(sv)], QByteArray("\x82\x02", 2) + char(sv)) << sv;
  }
  EXPECT_EQ(w.heads[33], QByteArray("\x82\x04", 2));
  EXPECT_EQ(w.heads[34], QByteArray("\x82\x05", 2));
  // The receiver's own block sizes, not the file's length bytes.
  const int data = static_cast<int>(sim::BlockLength(3) + 32 * sim::BlockLength(2) +
                                    sim::BlockLength(4) + sim::BlockLength(5));
  EXPECT_EQ(bytes.size(), 2 + 35 * 4 + 32 + data);
  EXPECT_TRUE(log().startsWith(QStringLiteral("Almanac health page, t_oa, wn_oa requested...\n"
                                               "   received, length = ")));
  EXPECT_TRUE(log().endsWith(QStringLiteral("UTC time data requested...\n   received, length = %1\n"
                                            "Almanac download complete.\n")
                                 .arg(sim::BlockLength(5))));

  upload(file);
  EXPECT_FALSE(failed());
  EXPECT_EQ(loadsSent(), 35);
  EXPECT_EQ(log().count(QStringLiteral("   Data block acknowledged\n")), 35);
  EXPECT_EQ(log().count(QStringLiteral("   Data block rejected\n")), 0);
  EXPECT_TRUE(log().contains(QStringLiteral("Almanac data for SV 07...\n   Data block acknowledged\n")));
  EXPECT_TRUE(log().endsWith(QStringLiteral("System data load complete.\n")));
}

TEST_F(AlmanacTransferTest, MissingAlmanacForSv7EndsTheDownloadAndItsFileUploadsSevenBlocks) {
  start({"no-almanac=7"});
  const QString file = path("partial.dat");
  download(file);
  EXPECT_TRUE(failed());
  const Walked w = Walk(Read(file));
  ASSERT_EQ(w.heads.size(), 7u);
  EXPECT_EQ(w.heads[0], QByteArray("\x82\x03", 2));
  EXPECT_EQ(w.heads[6], QByteArray("\x82\x02\x06", 3));
  EXPECT_TRUE(log().endsWith(QStringLiteral("SV 7 almanac requested...\nData not available!\n"
                                            "Almanac download complete.\n")));

  upload(file);
  EXPECT_EQ(loadsSent(), 7);
  EXPECT_TRUE(log().endsWith(QStringLiteral("System data load complete.\n")));
}

TEST_F(AlmanacTransferTest, RefusedLoadsAreLoggedAndTheUploadGoesOn) {
  start({"refuse-loads"});
  const QString file = path("refused.dat");
  download(file);
  upload(file);
  EXPECT_EQ(loadsSent(), 35);
  EXPECT_EQ(log().count(QStringLiteral("   Data block rejected\n")), 35);
  EXPECT_FALSE(failed()) << "an upload fails only on a file that cannot be opened";
}

TEST_F(AlmanacTransferTest, UploadFileFormatCases) {
  start();
  const QByteArray iono(static_cast<int>(sim::BlockLength(4)), '\x82');
  QByteArray markers = iono;
  markers[0] = '\x83';
  markers[5] = '\x82';
  const auto record = [](char type, const QByteArray& data, char end = '\x83') {
    return QByteArray(1, '\x82') + type + char(data.size()) + data + end;
  };
  const struct {
    const char* name;
    QByteArray file;
    int loads;
    QString log;
  } cases[] = {
      {"type 9", QByteArray("\x00\x00", 2) + record('\x09', iono) + record('\x04', iono), 0,
       QStringLiteral("Unknown data block type! \nSystem data load complete.\n")},
      {"bad end marker", QByteArray("\x00\x00", 2) + record('\x04', iono, '\x00'), 0,
       QStringLiteral("Ionosphere data... \nEnd of block format error! \nSystem data load complete.\n")},
      {"garbage between records",
       QByteArray("\x00\x00\x11\x03", 4) + record('\x04', iono) + QByteArray("\x01\x83\x10", 3) +
           record('\x04', iono),
       2,
       QStringLiteral("Ionosphere data... \n   Data block acknowledged\n"
                      "Ionosphere data... \n   Data block acknowledged\nSystem data load complete.\n")},
      {"0x82 and 0x83 in the data", record('\x04', markers), 1,
       QStringLiteral("Ionosphere data... \n   Data block acknowledged\nSystem data load complete.\n")},
      {"only 00 00", QByteArray("\x00\x00", 2), 0, QStringLiteral("System data load complete.\n")},
      {"truncated record", record('\x04', iono).left(10), 0,
       QStringLiteral("Ionosphere data... \nSystem data load complete.\n")},
      {"SV out of range", QByteArray("\x82\x02\x21\x01\x00\x83", 6), 0,
       QStringLiteral("System data load complete.\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    h.windows().alm->close();  // a closed log starts empty
    const QString file = path("case.dat");
    Write(file, c.file);
    const int before = loadsSent();
    upload(file);
    EXPECT_EQ(loadsSent() - before, c.loads);
    EXPECT_EQ(log(), c.log);
  }
  // The marker bytes went out as data.
  const auto frames = h.frames();
  const auto last = std::find_if(frames.rbegin(), frames.rend(), [](const auto& f) {
    return f.bytes.size() > 2 && f.bytes[0] == 0x38 && f.bytes[1] == 0x02;
  });
  ASSERT_NE(last, frames.rend());
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(last->bytes.data()) + 5,
                       static_cast<int>(last->bytes.size()) - 5),
            markers);
  EXPECT_FALSE(failed());
}

TEST_F(AlmanacTransferTest, UnopenableFileAndSilentReceiver) {
  start();
  upload(path("missing/none.dat"));
  EXPECT_TRUE(failed());
  EXPECT_EQ(log(), QStringLiteral("Couldn't open almanac data file!\n"));
  EXPECT_FALSE(h.program().session()->pollingHeld());

  // No answer: each wait gives up after its bound, on the clock.
  h.setConnected(false);
  h.prompts.messages.clear();
  const std::int64_t before = h.clock.nowMs();
  download(path("silent.dat"));
  EXPECT_TRUE(failed());
  const std::int64_t waited = h.clock.nowMs() - before;
  EXPECT_GE(waited, tools::SystemDataTransfer::kWaitBoundMs);
  EXPECT_LT(waited, tools::SystemDataTransfer::kWaitBoundMs + 1000);
  EXPECT_TRUE(log().endsWith(QStringLiteral("Data not available!\nAlmanac download complete.\n")));
  EXPECT_EQ(Read(path("silent.dat")), QByteArray("\x00\x00", 2));
}

TEST_F(AlmanacTransferTest, CancelledDialogTransfersNothing) {
  start();
  h.prompts.fileNames.push_back(QString());
  h.main().menu.ControlDownloadAlmanac->trigger();
  EXPECT_EQ(h.countFrames({0x38}), 0);
  EXPECT_FALSE(h.windows().alm->isVisible());
}

}  // namespace
