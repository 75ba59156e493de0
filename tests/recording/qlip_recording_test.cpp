// QLIP recording: the frame each packet becomes, and the recording window
// driven through its buttons with the dispatcher feeding it, including the
// files that cannot be written.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "link/report_dispatcher.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "tests/support/scripted_prompts.h"
#include "tools/log_qlip_window.h"
#include "recording/qlip_recorder.h"

using namespace halvix;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(int id, const Bytes& payload) {
  std::array<std::uint8_t, recording::kRecordMaxFrame> out{};
  const int n = recording::FrameRecordedPacket(id, payload.data(), static_cast<int>(payload.size()), out);
  return Bytes(out.begin(), out.begin() + n);
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(QlipFrame, ReframesAsOnTheWire) {
  const Bytes time41{0x48, 0x2A, 0x30, 0x00, 0x09, 0x90, 0x41, 0x90, 0x00, 0x00};
  const struct {
    const char* name;
    int id;
    Bytes payload;
    Bytes frame;
  } cases[] = {
      {"0x41, no DLE", 0x41, time41, Cat({{0x10, 0x41}, time41, {0x10, 0x03}})},
      {"DLE doubled, ETX kept", 0x8F, {0x10, 0x03, 0x10}, {0x10, 0x8F, 0x10, 0x10, 0x03, 0x10, 0x10, 0x10, 0x03}},
      {"empty id 0", 0x00, {}, {0x10, 0x00, 0x10, 0x03}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Frame(c.id, c.payload), c.frame) << c.name;
  }
  EXPECT_EQ(Frame(0x41, time41).size(), 14u);

  // The longest frame: 511 payload bytes, every one a DLE.
  const Bytes allDle(511, 0x10);
  const Bytes longest = Frame(0x5F, allDle);
  ASSERT_EQ(longest.size(), static_cast<std::size_t>(4 + 2 * 511));
  EXPECT_EQ(longest.front(), 0x10);
  EXPECT_EQ(longest[1], 0x5F);
  EXPECT_TRUE(std::all_of(longest.begin() + 2, longest.end() - 1, [](std::uint8_t b) { return b == 0x10; }));
  EXPECT_EQ(longest.back(), 0x03);
}

class RecordingWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  halvix::testing::ScriptedPrompts prompts;
  link::ReportDispatcher dispatcher;
  tools::TForm_LogQlip window{prompts, dispatcher};
  tools::TForm_LogQlip::Controls& c = window.testControls();

  void choose(const QString& name) {
    prompts.fileNames.push_back(name);
    c.Button_Open->click();
  }
  void dispatch(int id, const Bytes& payload) {
    dispatcher.dispatch(id, payload.data(), static_cast<int>(payload.size()));
  }
  bool off() const {
    return c.Label_OnOff->text() == QStringLiteral("Off") && c.Shape_OnOff->is(widgets::kLampIdle) &&
           c.Button_Start->isEnabled() && c.Button_Open->isEnabled() && !window.recordingOn();
  }
  static Bytes Contents(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return Bytes(b.begin(), b.end());
  }
  QString lastMessage() const { return prompts.messages.empty() ? QString() : prompts.messages.back().text; }
};

TEST_F(RecordingWindowTest, RecordsEveryDispatchedPacketUntilStop) {
  const QString name = dir.filePath(QStringLiteral("run"));
  choose(name);
  EXPECT_EQ(c.Panel_Filename->text(), name + QStringLiteral(".qlp"));
  c.Button_Start->click();
  EXPECT_EQ(c.Label_OnOff->text(), QStringLiteral("On"));
  EXPECT_TRUE(c.Shape_OnOff->is(widgets::kLampLit));
  EXPECT_FALSE(c.Button_Start->isEnabled());
  EXPECT_FALSE(c.Button_Open->isEnabled());

  dispatch(0x41, {1, 2, 3});
  dispatch(0x8F, {0x99, 0x10});  // no decoder, still recorded
  dispatch(0x00, {});
  c.Button_Close->click();  // the recording goes on with the window closed
  dispatch(0x46, {0x00, 0x03});
  c.Button_Stop->click();
  dispatch(0x41, {9});  // after Stop: not recorded
  EXPECT_TRUE(off());
  EXPECT_EQ(Contents(name + QStringLiteral(".qlp")),
            Cat({Frame(0x41, {1, 2, 3}), Frame(0x8F, {0x99, 0x10}), Frame(0, {}), Frame(0x46, {0, 3})}));
  EXPECT_TRUE(prompts.messages.empty());

  // A new Start truncates.
  c.Button_Start->click();
  dispatch(0x41, {7});
  window.CloseRecording();  // program exit without Stop
  EXPECT_TRUE(off());
  EXPECT_EQ(Contents(name + QStringLiteral(".qlp")), Frame(0x41, {7}));
}

TEST_F(RecordingWindowTest, FilesThatCannotBeOpened) {
  c.Button_Start->click();
  EXPECT_EQ(lastMessage(), QStringLiteral("No QLIP file selected."));
  EXPECT_EQ(prompts.messages.back().icon, platform::PromptIcon::Exclamation);

  choose(dir.filePath(QStringLiteral("no/such/folder/run.qlp")));
  c.Button_Start->click();
  EXPECT_EQ(lastMessage(), QStringLiteral("Unable to open data record file."));
  EXPECT_TRUE(off());

  // Cancel keeps the name chosen before.
  const QString before = c.Panel_Filename->text();
  choose(QString());
  EXPECT_EQ(c.Panel_Filename->text(), before);
}

TEST_F(RecordingWindowTest, AFullDeviceStopsTheRecordingAndSaysWhy) {
  choose(QStringLiteral("/dev/full"));
  c.Button_Start->click();
  ASSERT_TRUE(window.recordingOn());
  const Bytes payload(200, 0x55);
  for (int i = 0; i < 1000 && window.recordingOn(); ++i) dispatch(0x5A, payload);
  QCoreApplication::processEvents();
  EXPECT_TRUE(off());
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back().title, QStringLiteral("Error"));
  EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Recording stopped: "))) << lastMessage().toStdString();
  EXPECT_GT(lastMessage().size(), QStringLiteral("Recording stopped: ").size());

  // Few packets, then Stop: the failure shows when the buffer is written.
  prompts.messages.clear();
  c.Button_Start->click();
  dispatch(0x41, {1});
  c.Button_Stop->click();
  EXPECT_TRUE(off());
  EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Recording stopped: ")));
}

}  // namespace
