// TForm_Diagnostics: the developer's repeated-reset test. It resets the
// receiver over and over (cold, warm, a factory reset or a random one),
// counts the App Fatal errors and exceptions the receiver reports, stops
// when the receiver falls silent at a reset boundary, and can check on a
// worker thread whether the segments it wrote to EEPROM went back to their
// defaults. It also shows the serial input rate. Test reports go to a
// message sink (the Message window, wired at start-up).
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

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

class TForm_Diagnostics : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTimerIntervalMs = 1000;
  static constexpr std::int64_t kQueryPauseMs = 200;
  static constexpr int kIoWindowSeconds = 1000;

  enum LengthMode { kTimedLength = 0, kUntilAppFatal = 1, kManualStop = 2 };
  enum IntervalMode { kTimedInterval = 0, kWhenTracking = 1 };
  enum ResetType { kCold = 0, kWarm, kFactoryAll, kFactoryNav, kFactoryConfig, kRandom };

  // A pseudo-random source for the Random reset type; any non-negative value,
  // taken modulo 5.
  using Random = std::function<unsigned()>;

  TForm_Diagnostics(platform::OperatorPrompts& prompts, link::SerialLink& link, reports::ReadBackFields& readBack,
                    QWidget* parent = nullptr);
  ~TForm_Diagnostics() override;

  void setMessageSink(DiagnosticsMessageSink sink) { sink_ = std::move(sink); }
  // Replaces the default, fixed-sequence generator.
  void setRandom(Random random) { random_ = std::move(random); }
  // The receiver port the test configures and checks.
  void setTestPort(int port) { testPort = port; }

  struct Controls {
    widgets::ValuePanel* Panel_Output = nullptr;
    QPushButton* Button_Reset = nullptr;
    widgets::Lamp* Shape_AppFatalLED = nullptr;
    QGroupBox* RadioGroup_Length = nullptr;
    QButtonGroup* lengthItems = nullptr;
    QLineEdit* Edit_Length = nullptr;
    QGroupBox* RadioGroup_Interval = nullptr;
    QButtonGroup* intervalItems = nullptr;
    QLineEdit* Edit_Interval = nullptr;
    QGroupBox* RadioGroup_ResetType = nullptr;
    QButtonGroup* resetTypeItems = nullptr;
    QCheckBox* CheckBox_Packets = nullptr;
    QCheckBox* CheckBox_EEPROM = nullptr;
    QCheckBox* CheckBox_DeadRecStop = nullptr;
    widgets::ValuePanel* Panel_Duration = nullptr;
    widgets::ValuePanel* Panel_NumResets = nullptr;
    widgets::ValuePanel* Panel_CurrentReset = nullptr;
    widgets::ValuePanel* Panel_Errors = nullptr;
    widgets::ValuePanel* Panel_Exceptions = nullptr;
    QPushButton* Button_AppFatalStart = nullptr;
    QPushButton* Button_AppFatalStop = nullptr;
    QPushButton* Button_AppFatalView = nullptr;
    QPushButton* Button_Close = nullptr;
    QTimer* Timer_Diagnostics = nullptr;
  };
  Controls controls;

  // The test's state, as the window keeps it.
  std::int32_t elapsedSeconds = 0;
  std::int32_t testLength = 0;
  std::int32_t resetInterval = 0;
  std::int32_t resetCount = 0;
  std::int32_t lengthMode = 0;
  std::int32_t intervalMode = 0;
  std::int32_t resetType = 0;
  std::int32_t currentResetType = -1;
  std::int32_t errorCount = 0;
  std::int32_t exceptionCount = 0;
  bool stopIfDead = false;
  std::int32_t ioTicks = 0;
  bool testRunning = false;
  bool receiverTalked = false;
  std::int32_t testPort = 0;
  QString lastResetText;

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
  void sendReset(int type);
  void stopWithResults();
  void testTick();
  void afterResetSteps();
  void appFatal(std::int32_t& counter, widgets::ValuePanel* panel);
  void startSegmentCheck();
  void segmentCheckDone(const SegmentCheckOutcome& outcome);
  void setEditing(bool enabled);
  void append(const QString& text);

  platform::OperatorPrompts& prompts_;
  link::SerialLink& link_;
  reports::ReadBackFields& readBack_;
  DiagnosticsMessageSink sink_;
  Random random_;
  SegmentCheckWorker worker_;
};

}  // namespace halvix::tools
