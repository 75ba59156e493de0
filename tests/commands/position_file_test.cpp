// Filling the Upload Accurate Position fields from a position file: both
// types, the line the position download writes, and files that are wrong.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <bit>

#include "commands/initial_pos_dialog.h"
#include "tests/reports/payload_writer.h"
#include "tests/support/window_fixture.h"

using namespace halvix;
using halvix::testing::Bytes;
using halvix::testing::WindowFixture;

namespace {

struct FileCase {
  const char* name;
  const char* contents;
  // Latitude, longitude, altitude or X, Y, Z as shown; null where untouched.
  const char* lla[3];
  const char* ecef[3];
};

const FileCase kFiles[] = {
    {"Ecef", "1 -27.25 -43.5 38", {}, {"-27.25", "-43.50", "38.00"}},
    {"LlaKeepsEveryDigit", "0 48.856613 2.352222 35.27\n", {"48.856613", "2.352222", "35.27"}, {}},
    {"LlaShortNumbersPadded", "0 45 -7.5 100", {"45.000", "-7.500", "100.0"}, {}},
    {"RecordAcrossLinesAndTrailingText", "0\n1.25\t2.5\n3 and more\n", {"1.250", "2.500", "3.0"}, {}},
    {"OnlyTheFirstRecordCounts", "1 1 2 3\n0 4 5 6\n", {}, {"1.00", "2.00", "3.00"}},
};

class PositionFileTest : public WindowFixture {
 protected:
  QTemporaryDir dir;
  commands::TForm_InitialPos::Controls& c() { return windows->initialPos->testControls(); }

  QString write(const QByteArray& contents, const QString& name = QStringLiteral("pos.dat")) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
    return path;
  }
  void load(const QString& path) {
    prompts.fileNames.push_back(path);
    c().Button_File->click();
  }
  QStringList fields() {
    QStringList all;
    for (QLineEdit* e : {c().Edit_Lat, c().Edit_Lon, c().Edit_Alt, c().Edit_X, c().Edit_Y, c().Edit_Z})
      all << e->text();
    return all;
  }
};

TEST_F(PositionFileTest, FillsTheFieldsOfItsType) {
  for (const FileCase& k : kFiles) {
    SCOPED_TRACE(k.name);
    for (QLineEdit* e : {c().Edit_Lat, c().Edit_Lon, c().Edit_Alt, c().Edit_X, c().Edit_Y, c().Edit_Z})
      e->setText(QStringLiteral("kept"));
    load(write(k.contents));
    const QStringList f = fields();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(f[i], k.lla[0] ? QString::fromLatin1(k.lla[i]) : QStringLiteral("kept"));
      EXPECT_EQ(f[i + 3], k.ecef[0] ? QString::fromLatin1(k.ecef[i]) : QStringLiteral("kept"));
    }
  }
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(sent().empty()) << "the operator sends after checking the fields";
}

TEST_F(PositionFileTest, WrongFilesLeaveTheFieldsAlone) {
  const char* const broken[] = {"2 1 2 3", "-1 1 2 3", "0 48.8 abc 3", "0 1 2", "", "0.5 1 2 3",
                                "x 1 2 3", "0 1 2 nan", "\x89PNG\r\n\x1a\n"};
  c().Edit_Lat->setText(QStringLiteral("kept"));
  for (const char* contents : broken) {
    SCOPED_TRACE(contents);
    prompts.messages.clear();
    load(write(contents));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Position data file format incorrect"));
    EXPECT_EQ(c().Edit_Lat->text(), QStringLiteral("kept"));
  }
}

TEST_F(PositionFileTest, MissingFileAndCancel) {
  load(dir.filePath(QStringLiteral("absent.dat")));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Couldn't open position data file."));
  prompts.messages.clear();
  load(QString());  // cancelled
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PositionFileTest, NameWithoutExtensionMeansTheDatFile) {
  write("0 1 2 3", QStringLiteral("home.dat"));
  load(dir.filePath(QStringLiteral("home")));
  EXPECT_EQ(c().Edit_Lat->text(), QStringLiteral("1.000"));
}

TEST_F(PositionFileTest, DownloadedPositionUploadsUnchanged) {
  // "Download Position", served by the next supplemental timing report while
  // the timing packets are polled.
  const double latitude = 0.85271, longitude = -0.04105, altitude = 35.27;  // radians, metres
  const QString path = dir.filePath(QStringLiteral("download.dat"));
  prompts.fileNames.push_back(path);
  main().menu.ControlPollingTimingPkts->setChecked(true);
  main().menu.ControlDownloadPos->trigger();
  halvix::testing::PayloadWriter report(68);
  report.byte(0, 0xAC).dbl(36, latitude).dbl(44, longitude).dbl(52, altitude);
  main().dispatcher().dispatch(0x8F, report.data(), report.length());
  ASSERT_EQ(prompts.messages.size(), 1u);
  ASSERT_EQ(prompts.messages[0].title, QStringLiteral("Success"));

  load(path);
  // The fields show what the download reported, digit for digit.
  const QStringList shown = prompts.messages[0].text.split(QLatin1Char('\n'));
  EXPECT_EQ(fields().mid(0, 3), (QStringList{shown[2].mid(5), shown[3].mid(5), shown[4].mid(5)}));

  c().Button_SetLLA->click();
  const std::vector<Bytes> packets = sent();
  ASSERT_EQ(packets.size(), 1u);
  ASSERT_EQ(packets[0].size(), 13u);
  const auto single = [&packets](std::size_t at) {
    std::uint32_t bits = 0;
    for (std::size_t i = at; i < at + 4; ++i) bits = bits << 8 | packets[0][i];
    return std::bit_cast<float>(bits);
  };
  // Back within the file's five decimals of a degree (and single precision).
  EXPECT_NEAR(single(1), latitude, 3e-7);
  EXPECT_NEAR(single(5), longitude, 3e-7);
  EXPECT_NEAR(single(9), altitude, 0.05);
}

}  // namespace
