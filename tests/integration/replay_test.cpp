// Recordings end to end on virtual time: what the recorder wrote from the
// simulated receiver decodes to the values the main window showed, and the
// whole program replays it: the panels live, the bar pauses it, commands go
// nowhere, and at the end the watchdogs blank the panels.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <array>

#include "app/main_window.h"
#include "app/program.h"
#include "app/replay_bar.h"
#include "app/windows.h"
#include "reports/charts_window.h"
#include "reports/timing_layouts.h"
#include "widgets/value_panel.h"
#include "tests/integration/tool_harness.h"
#include "recording/decode_frames.h"
#include "recording/decode_reports.h"
#include "tools/log_qlip_window.h"

using namespace halvix;
using halvix::testing::ToolHarness;

namespace {

using Outputs = std::array<QString, 3>;  // local clock offset, oscillator offset, quantization error

Outputs Shown(app::TForm_Main& m) {
  return {m.testControls().Panel_PPSOffset->text(), m.testControls().Panel_10MHz->text(),
          m.testControls().Panel_Quantization->text()};
}

// The timing outputs of every 0x8F-AC in a recording, as the decoder gives them.
class AcCollector final : public recording::FrameSink {
 public:
  void packet(std::int64_t, int id, const std::uint8_t* payload, int length) override {
    if (decoder.decode(id, payload, length) != recording::DecodeOutcome::Decoded || decoder.kind() != "8F-AC") return;
    Outputs o;
    int k = 0;
    for (int i = 0; i < decoder.fieldCount(); ++i) {
      const recording::DecodedField& f = decoder.field(i);
      if (f.name == "ppsOffset" || f.name == "oscillatorOffset" || f.name == "quantizationError") {
        o[static_cast<std::size_t>(k++)] = reports::FormatTimingOutput(static_cast<float>(f.number));
      }
    }
    outputs.push_back(o);
  }
  void problem(std::int64_t, recording::FrameFlaw, std::string_view) override { ++problems; }
  recording::ReportDecoder decoder;
  std::vector<Outputs> outputs;
  int problems = 0;
};

QString Record(const QTemporaryDir& dir, int seconds, std::vector<Outputs>* shown) {
  const QString name = dir.filePath(QStringLiteral("run.qlp"));
  ToolHarness h;
  EXPECT_TRUE(h.startFast(3));
  h.main().menu.ControlRecordQlip->trigger();
  tools::TForm_LogQlip& w = *h.windows().logQlip;
  h.prompts.fileNames.push_back(name);
  w.testControls().Button_Open->click();
  w.testControls().Button_Start->click();
  EXPECT_TRUE(w.recordingOn());
  for (int t = 0; t < seconds * 5; ++t) {
    h.tick();
    if (shown != nullptr && (shown->empty() || shown->back() != Shown(h.main()))) shown->push_back(Shown(h.main()));
  }
  w.testControls().Button_Stop->click();
  h.main().close();
  return name;
}

TEST(RecordingDecode, DecodesToTheValuesTheMainWindowShowed) {
  QTemporaryDir dir;
  std::vector<Outputs> shown;
  const QString name = Record(dir, 30, &shown);
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  AcCollector decoded;
  recording::QlipDeframer deframer(decoded);
  deframer.feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
  deframer.finish();
  EXPECT_EQ(decoded.problems, 0);
  ASSERT_GE(decoded.outputs.size(), 28u);
  // The window changed once a second, to exactly what was recorded that second
  // (its first state may be the one from before the recording began).
  if (!shown.empty() && shown.front() != decoded.outputs.front()) shown.erase(shown.begin());
  EXPECT_EQ(shown, decoded.outputs);
}

class ReplayProgram : public ::testing::Test {
 protected:
  void startReplay(const QString& file, const QString& speed) {
    program = std::make_unique<app::Program>(app::ProgramSeams{
        prompts, scheduler, [] { return std::optional<app::PortDialogChoice>(); }, &app::MakeDevice, &pcClock});
    ASSERT_TRUE(program->start({QStringLiteral("--replay=") + file, QStringLiteral("--speed=") + speed}));
    for (int i = 0; i < 100 && program->session()->state() != session::SessionState::Polling; ++i) {
      scheduler.advance(200);
    }
    ASSERT_EQ(program->session()->state(), session::SessionState::Polling);
    ASSERT_NE(program->replayBar(), nullptr);
    EXPECT_TRUE(position().endsWith(QStringLiteral(", waiting for the link")));
    // Routine polling has begun: the replay starts at its first second.
    program->replayBar()->Timer_ReplayTimer();
    program->replayBar()->testControls().Timer_Replay->stop();
  }
  void TearDown() override {
    if (program && program->windows()) {
      for (QWidget* w : program->windows()->creationOrder) w->hide();
    }
  }
  void run(double seconds) {
    for (int i = 0; i < static_cast<int>(seconds * 5); ++i) {
      scheduler.advance(200);
      program->replayBar()->Timer_ReplayTimer();
    }
  }
  app::TForm_Main& main() { return *program->mainWindow(); }
  QString position() { return program->replayBar()->testControls().Label_Position->text(); }

  session::VirtualScheduler scheduler{0};
  link::VirtualClock& clock = scheduler.virtualClock();
  halvix::testing::ScriptedPrompts prompts;
  platform::FixedPcClock pcClock;
  std::unique_ptr<app::Program> program;
};

TEST_F(ReplayProgram, PlaysTheRecordingPausesAndEnds) {
  QTemporaryDir dir;
  std::vector<Outputs> recorded;
  const QString name = Record(dir, 60, &recorded);
  startReplay(name, QStringLiteral("10"));
  run(2);
  EXPECT_TRUE(position().startsWith(QStringLiteral("Replay run.qlp 00:00:")));
  EXPECT_TRUE(main().testControls().Panel_PPSOffset->isLive());
  // The panels show what was recorded; the polls went nowhere and the status bar says so.
  EXPECT_NE(std::find(recorded.begin(), recorded.end(), Shown(main())), recorded.end());
  EXPECT_EQ(main().testControls().Panel_Serial->text(), QStringLiteral("Commands not sent"));
  EXPECT_TRUE(main().testControls().Panel_Hint->text().startsWith(QStringLiteral("Replay run.qlp")));

  program->replayBar()->testControls().Button_Pause->click();
  // What the second under way had already sent still arrives.
  run(1);
  const QString held = position();
  const Outputs heldOutputs = Shown(main());
  run(3);
  EXPECT_TRUE(position().startsWith(held.left(29))) << position().toStdString();
  EXPECT_EQ(Shown(main()), heldOutputs);
  program->replayBar()->testControls().Button_Pause->click();

  QComboBox* speed = program->replayBar()->testControls().ComboBox_Speed;
  speed->setCurrentIndex(speed->findText(QStringLiteral("100x")));
  Q_EMIT speed->activated(speed->currentIndex());
  run(2);
  EXPECT_TRUE(position().contains(QStringLiteral("end of recording"))) << position().toStdString();
  EXPECT_EQ(Shown(main()), recorded.back());
  // Silent from now on: the watchdogs grey the timing panels as for a quiet receiver.
  run(30);
  EXPECT_TRUE(main().testControls().Panel_PPSOffset->isGreyed());
}

TEST_F(ReplayProgram, ChartsKeepTheRecordingsSecondsAtAnySpeed) {
  QTemporaryDir dir;
  const QString name = Record(dir, 60, nullptr);
  startReplay(name, QStringLiteral("10"));
  run(5);  // 50 receiver seconds in 5 of the clock
  const auto& timing = program->windows()->charts->history().timing();
  ASSERT_GE(timing.size(), 40u);
  // The recording may open with a poll's answer and the broadcast of one second.
  for (std::size_t i = 2; i < timing.size(); ++i) {
    EXPECT_NEAR(timing[i].t - timing[i - 1].t, 1.0, 0.01) << "sample " << i;
  }
  EXPECT_GE(program->windows()->charts->history().stability(false).size(), timing.size() - 1)
      << "every second is analysed once";
}

TEST_F(ReplayProgram, MenuItemAsksForARecordingAndBadSpeedsAreRefused) {
  QTemporaryDir dir;
  const QString name = Record(dir, 3, nullptr);
  startReplay(name, QStringLiteral("0.25"));
  QString opened;
  main().hooks.openReplay = [&](const QString& f) { opened = f; };
  prompts.fileNames.push_back(name);
  main().menu.ControlReplayRecording->trigger();
  EXPECT_EQ(opened, name);
  EXPECT_EQ(program->replayBar()->testControls().ComboBox_Speed->currentText(), QStringLiteral("0.25x"));

  for (const char* bad : {"--speed=0.2", "--speed=101", "--speed=fast"}) {
    const app::CommandLine cl = app::ParseCommandLine({QStringLiteral("--replay=x.qlp"), QLatin1String(bad)});
    EXPECT_EQ(cl.errors.size(), 1) << bad;
  }
  EXPECT_EQ(app::ParseCommandLine({QStringLiteral("--speed=2")}).errors.size(), 1);
  EXPECT_TRUE(app::ParseCommandLine({QStringLiteral("--replay=x.qlp"), QStringLiteral("--speed=2.5")}).errors.isEmpty());
}

}  // namespace
