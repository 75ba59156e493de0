// TForm_Diagnostics: the developer's repeated-reset test. It resets the
// receiver over and over (cold, warm, a factory reset or a random one),
// counts the App Fatal errors and exceptions the receiver reports, stops
// when the receiver falls silent at a reset boundary, and can check on a
// worker thread whether the segments it wrote to EEPROM went back to their
// defaults. It also shows the serial input rate. Test reports go to a
// message sink (the Message window, wired at start-up). The test's logic is
// the ResetCycle; the window reads its choices and shows its state.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

#include "tools/diagnostics_reset_cycle.h"
#include "tools/diagnostics_segment_check.h"

namespace halvix::widgets {
class Lamp;
class ValuePanel;
}  // namespace halvix::widgets

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace halvix::platform {
class OperatorPrompts;
}
namespace halvix::link {
class SerialLink;
}
namespace halvix::tools {

// Where the test's text goes: the Message window's AppendMessage and ShowMessages.
struct DiagnosticsMessageSink {
  std::function<void(const QString&)> appendMessage;
  std::function<void()> showMessages;
};

class TForm_Diagnostics : public QDialog, public ResetTestModes {
  Q_OBJECT

  ResetCycle cycle_;

 public:
  static constexpr int kTimerIntervalMs = 1000;
  static constexpr std::int64_t kQueryPauseMs = ResetCycle::kQueryPauseMs;
  static constexpr int kIoWindowSeconds = InputRate::kWindowSeconds;

  using Random = ResetCycle::Random;

  TForm_Diagnostics(platform::OperatorPrompts& prompts, link::SerialLink& link, reports::ReadBackFields& readBack,
                    QWidget* parent = nullptr);
  ~TForm_Diagnostics() override;

  void setMessageSink(DiagnosticsMessageSink sink) { sink_ = std::move(sink); }
  // Replaces the default, fixed-sequence generator.
  void setRandom(Random random) { cycle_.setRandom(std::move(random)); }
  // The receiver port the test configures and checks.
  void setTestPort(int port) { cycle_.testPort = port; }

  struct Controls {
    // The serial input rate and its reset.
    widgets::ValuePanel* Panel_Output = nullptr;
    QPushButton* Button_Reset = nullptr;
    // The reset test: its lamp and choices (each radio group with its items and value), its counters.
    widgets::Lamp* Shape_AppFatalLED = nullptr;
    QGroupBox *RadioGroup_Length{}, *RadioGroup_Interval{}, *RadioGroup_ResetType{};
    QButtonGroup *lengthItems{}, *intervalItems{}, *resetTypeItems{};
    QLineEdit *Edit_Length{}, *Edit_Interval{};
    QCheckBox *CheckBox_Packets{}, *CheckBox_EEPROM{}, *CheckBox_DeadRecStop{};
    widgets::ValuePanel *Panel_Duration{}, *Panel_NumResets{}, *Panel_CurrentReset{}, *Panel_Errors{},
        *Panel_Exceptions{};
    QPushButton *Button_AppFatalStart{}, *Button_AppFatalStop{}, *Button_AppFatalView{}, *Button_Close{};
    QTimer* Timer_Diagnostics = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // The test's state.
  const ResetCycle& cycle() const { return cycle_; }
  const bool& testRunning = cycle_.running;
  const std::int32_t& elapsedSeconds = cycle_.elapsedSeconds;
  bool stopIfDead = false;

  void Timer_DiagnosticsTimer();
  void Button_ResetClick();
  void Button_AppFatalStartClick();
  void Button_AppFatalStopClick();
  void Button_AppFatalViewClick();
  void CheckBox_DeadRecStopClick();

  // Report 0x8F-AC with satellites usable: the next reset in When Tracking mode.
  void NextTrackingReset();
  // Called by the report 0x5F diagnostic decoder after it has logged the fatal text.
  void AppFatalError();
  void AppFatalException();
  // The dispatcher's heartbeat: a packet arrived.
  void HeartBeat();

  // The segment check is running on its worker.
  bool segmentCheckRunning() const { return worker_.running(); }

 private:
  void buildControls();
  // The panels from the test's counters.
  void showState();
  // The window's side of a stop: the lamp, the fields and the results.
  void showStopped();
  void appFatal(bool exception);
  void startSegmentCheck();
  void segmentCheckDone(const SegmentCheckOutcome& outcome);
  void setEditing(bool enabled);
  void append(const QString& text);

  Controls controls_;
  platform::OperatorPrompts& prompts_;
  link::SerialLink& link_;
  reports::ReadBackFields& readBack_;
  DiagnosticsMessageSink sink_;
  InputRate inputRate_;
  SegmentCheckWorker worker_;
};

}  // namespace halvix::tools
