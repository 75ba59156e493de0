#include "tools/diagnostics_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <random>

#include "platform/operator_prompts.h"
#include "commands/catalogue.h"
#include "link/serial_link.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"

namespace halvix::tools {

namespace ui = widgets::ui;

namespace {

struct ResetKind {
  const char* text;
};
constexpr ResetKind kResetKinds[] = {{"Cold Reset\r\n"},
                                     {"Warm Reset\r\n"},
                                     {"Factory Reset (All)\r\n"},
                                     {"Factory Reset (Nav)\r\n"},
                                     {"Factory Reset (Config)\r\n"}};
constexpr int kResetKindCount = 5;

// "%ld": leading blanks, an optional sign and digits; the rest is ignored.
bool ScanLong(const QString& text, std::int32_t& value) {
  const QString t = text.trimmed();
  int i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  qint64 v = 0;
  const int digitsFrom = i;
  while (i < t.size() && t[i].isDigit() && v <= 0x7FFFFFFF) v = v * 10 + t[i++].digitValue();
  if (i == digitsFrom || v > 0x7FFFFFFF) return false;
  value = static_cast<std::int32_t>(negative ? -v : v);
  return true;
}

QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& title,
                      std::initializer_list<const char*> items, int checked, const QRect& geometry,
                      QButtonGroup*& group) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  group = new QButtonGroup(box);
  int i = 0;
  for (const char* item : items) {
    auto* b = new QRadioButton(QString::fromLatin1(item), box);
    b->setObjectName(QString::fromLatin1(name) + QString::number(i));
    b->setGeometry(8, 16 + i * 18, geometry.width() - 12, 17);
    group->addButton(b, i);
    if (i == checked) b->setChecked(true);
    ++i;
  }
  return box;
}

QCheckBox* CheckBox(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* c = new QCheckBox(text, parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setGeometry(geometry);
  return c;
}

QLineEdit* Edit(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setGeometry(geometry);
  return e;
}

}  // namespace

TForm_Diagnostics::TForm_Diagnostics(platform::OperatorPrompts& prompts, link::SerialLink& link,
                                     reports::ReadBackFields& readBack, QWidget* parent)
    : QDialog(parent), prompts_(prompts), link_(link), readBack_(readBack) {
  ui::SetUpWindow(this, "Form_Diagnostics", QStringLiteral("Diagnostics"), QSize(556, 372));
  // The C library's generator as the program never seeds it: the same sequence every run.
  random_ = [engine = std::minstd_rand()]() mutable { return static_cast<unsigned>(engine()); };
  buildControls();
  controls.Timer_Diagnostics->start();
}

TForm_Diagnostics::~TForm_Diagnostics() {
  // FormDestroy: the worker finishes its current step and is joined.
  worker_.stop();
}

void TForm_Diagnostics::buildControls() {
  Controls& c = controls;

  // I/O utilization, right.
  auto* io = ui::Group(this, "Panel_IO", QStringLiteral("I/O Utilization:"), QString(),
                       QRect(380, 8, 168, 110));
  ui::Caption(io, QStringLiteral("Receiver Output"), QRect(10, 28, 150, 16), "Label_Output");
  c.Panel_Output = ui::Panel(io, "Panel_Output", QRect(10, 46, 80, 21));
  c.Panel_Output->setLiveValue(QStringLiteral("0"));
  ui::Caption(io, QStringLiteral("chars/sec"), QRect(96, 48, 64, 16), "Label_CharsPerSec");
  c.Button_Reset = ui::Button(io, "Button_Reset", QStringLiteral("&Reset"), QRect(10, 76, 75, 25));

  // App Fatal tests, left.
  auto* tests = ui::Group(this, "Panel_AppFatal", QStringLiteral("App Fatal Tests:"), QString(),
                          QRect(8, 8, 364, 356));
  c.Shape_AppFatalLED = new widgets::Lamp(tests, 12);
  c.Shape_AppFatalLED->setObjectName(QStringLiteral("Shape_AppFatalLED"));
  c.Shape_AppFatalLED->move(120, 6);

  c.RadioGroup_Length =
      RadioGroup(tests, "RadioGroup_Length", QStringLiteral("Test Length"),
                 {"Timed", "Until App Fatal", "Manual Stop Only"}, kManualStop,
                 QRect(8, 26, 140, 74), c.lengthItems);
  c.Edit_Length = Edit(tests, "Edit_Length", QStringLiteral("1200"), QRect(154, 40, 60, 21));
  c.RadioGroup_Interval = RadioGroup(tests, "RadioGroup_Interval", QStringLiteral("Reset Interval"),
                                     {"Timed", "When Tracking"}, kTimedInterval,
                                     QRect(8, 104, 140, 56), c.intervalItems);
  c.Edit_Interval = Edit(tests, "Edit_Interval", QStringLiteral("5"), QRect(154, 118, 60, 21));
  c.RadioGroup_ResetType = RadioGroup(
      tests, "RadioGroup_ResetType", QStringLiteral("Reset Type"),
      {"Cold Reset", "Warm Reset", "Factory (All)", "Factory (Nav)", "Factory (Config)", "Random"},
      kRandom, QRect(228, 26, 128, 134), c.resetTypeItems);

  c.CheckBox_Packets = CheckBox(tests, "CheckBox_Packets",
                                QStringLiteral("Turn on All Output Packets After Reset"),
                                QRect(10, 166, 346, 18));
  c.CheckBox_EEPROM = CheckBox(tests, "CheckBox_EEPROM",
                               QStringLiteral("Modify segments, write to EEPROM after Factory Reset"),
                               QRect(10, 186, 346, 18));
  c.CheckBox_DeadRecStop = CheckBox(tests, "CheckBox_DeadRecStop",
                                    QStringLiteral("Stop Test if Receiver Dies"),
                                    QRect(10, 206, 346, 18));

  const struct {
    const char* caption;
    const char* name;
    widgets::ValuePanel** slot;
    QRect geometry;
  } panels[] = {
      {"Duration", "Panel_Duration", &c.Panel_Duration, QRect(88, 232, 90, 21)},
      {"Num Resets", "Panel_NumResets", &c.Panel_NumResets, QRect(88, 258, 90, 21)},
      {"Current Reset", "Panel_CurrentReset", &c.Panel_CurrentReset, QRect(88, 284, 140, 21)},
      {"Errors", "Panel_Errors", &c.Panel_Errors, QRect(276, 232, 80, 21)},
      {"Exceptions", "Panel_Exceptions", &c.Panel_Exceptions, QRect(276, 258, 80, 21)},
  };
  for (const auto& p : panels) {
    const int captionX = p.geometry.x() < 200 ? 10 : 196;
    ui::Caption(tests, QString::fromLatin1(p.caption),
                QRect(captionX, p.geometry.y() + 2, 76, 16),
                (QByteArray("Label_") + QByteArray(p.name).mid(6)).constData());
    *p.slot = ui::Panel(tests, p.name, p.geometry);
  }

  c.Button_AppFatalStart =
      ui::Button(tests, "Button_AppFatalStart", QStringLiteral("&Start"), QRect(10, 320, 75, 25));
  c.Button_AppFatalStop =
      ui::Button(tests, "Button_AppFatalStop", QStringLiteral("Sto&p"), QRect(96, 320, 75, 25));
  c.Button_AppFatalStop->setEnabled(false);
  c.Button_AppFatalView =
      ui::Button(tests, "Button_AppFatalView", QStringLiteral("&View"), QRect(182, 320, 75, 25));
  c.Button_Close = ui::Button(this, "Button_Close", QStringLiteral("&Close"), QRect(473, 339, 75, 25));

  c.Timer_Diagnostics = new QTimer(this);
  c.Timer_Diagnostics->setObjectName(QStringLiteral("Timer_Diagnostics"));
  c.Timer_Diagnostics->setInterval(kTimerIntervalMs);

  connect(c.Timer_Diagnostics, &QTimer::timeout, this, &TForm_Diagnostics::Timer_DiagnosticsTimer);
  connect(c.Button_Reset, &QPushButton::clicked, this, &TForm_Diagnostics::Button_ResetClick);
  connect(c.Button_AppFatalStart, &QPushButton::clicked, this,
          &TForm_Diagnostics::Button_AppFatalStartClick);
  connect(c.Button_AppFatalStop, &QPushButton::clicked, this,
          &TForm_Diagnostics::Button_AppFatalStopClick);
  connect(c.Button_AppFatalView, &QPushButton::clicked, this,
          &TForm_Diagnostics::Button_AppFatalViewClick);
  connect(c.CheckBox_DeadRecStop, &QCheckBox::clicked, this,
          &TForm_Diagnostics::CheckBox_DeadRecStopClick);
  connect(c.Button_Close, &QPushButton::clicked, this, &QDialog::close);
}

void TForm_Diagnostics::append(const QString& text) {
  if (sink_.appendMessage) sink_.appendMessage(text);
}

void TForm_Diagnostics::Timer_DiagnosticsTimer() {
  // I/O utilization, running or not.
  ++ioTicks;
  controls.Panel_Output->setText(
      QString::number(static_cast<std::int64_t>(link_.bytesReceived.load()) / ioTicks));
  if (ioTicks >= kIoWindowSeconds) {
    link_.bytesReceived = 0;
    ioTicks = 0;
  }
  if (testRunning) testTick();
}

void TForm_Diagnostics::Button_ResetClick() {
  link_.bytesReceived = 0;
  ioTicks = 0;
}

void TForm_Diagnostics::setEditing(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           controls.RadioGroup_Length, controls.RadioGroup_Interval, controls.RadioGroup_ResetType,
           controls.Edit_Length, controls.Edit_Interval, controls.Button_AppFatalStart}) {
    w->setEnabled(enabled);
  }
  controls.Button_AppFatalStop->setEnabled(!enabled);
}

void TForm_Diagnostics::Button_AppFatalStartClick() {
  if (testRunning) return;
  const int length = controls.lengthItems->checkedId();
  const int interval = controls.intervalItems->checkedId();
  // The interval divides the elapsed seconds: anything below 1 never starts a test.
  std::int32_t parsedInterval = resetInterval;
  if (interval == kTimedInterval &&
      (!ScanLong(controls.Edit_Interval->text(), parsedInterval) || parsedInterval < 1)) {
    prompts_.message(QStringLiteral("Error"),
                     QStringLiteral("The reset interval must be a whole number of seconds, 1 or more."),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
    return;
  }

  elapsedSeconds = errorCount = exceptionCount = resetCount = 0;
  currentResetType = -1;
  receiverTalked = true;
  lengthMode = length;
  intervalMode = interval;
  resetType = controls.resetTypeItems->checkedId();
  if (lengthMode == kTimedLength) ScanLong(controls.Edit_Length->text(), testLength);
  if (intervalMode == kTimedInterval) resetInterval = parsedInterval;

  controls.Shape_AppFatalLED->setColor(QColor::fromRgb(widgets::kLampLit));
  setEditing(false);
  controls.Panel_Errors->setText(QStringLiteral("0"));
  controls.Panel_Exceptions->setText(QStringLiteral("0"));
  controls.Panel_Duration->setText(QStringLiteral("0:00:00"));
  controls.Panel_NumResets->setText(QStringLiteral("0"));

  testRunning = true;
  sendReset(resetType);
}

void TForm_Diagnostics::sendReset(int type) {
  ++resetCount;
  controls.Panel_NumResets->setText(QString::number(resetCount));
  if (type == kRandom) type = static_cast<int>(random_() % kResetKindCount);
  type = std::clamp(type, 0, kResetKindCount - 1);
  currentResetType = type;
  lastResetText = QString::fromLatin1(kResetKinds[type].text);
  switch (type) {
    case kCold: commands::ResetCommand1E(link_, commands::kResetCold); break;
    case kWarm: commands::WarmResetCommand25(link_); break;
    case kFactoryAll: commands::ResetCommand1E(link_, commands::kResetFactoryAll); break;
    case kFactoryNav: commands::ResetCommand1E(link_, commands::kResetFactoryNavigation); break;
    default: commands::ResetCommand1E(link_, commands::kResetFactoryConfiguration); break;
  }
  controls.Panel_CurrentReset->setText(lastResetText.trimmed());
}

void TForm_Diagnostics::testTick() {
  ++elapsedSeconds;
  controls.Panel_Duration->setText(QString::asprintf("%d:%02d:%02d", (elapsedSeconds / 3600) % 24,
                                                     (elapsedSeconds / 60) % 60, elapsedSeconds % 60));
  repaint();
  if (lengthMode == kTimedLength && elapsedSeconds >= testLength) {
    stopWithResults();
    return;
  }
  if (intervalMode == kTimedInterval && resetInterval >= 1) {
    const int phase = elapsedSeconds % resetInterval;
    if (phase == 0) {
      if (!receiverTalked) {
        stopWithResults();
        if (controls.CheckBox_EEPROM->isChecked() &&
            prompts_.message(
                QStringLiteral("Check Segments?"),
                QStringLiteral("The receiver has stopped talking.  Do you wish to check the EEPROM "
                               "segments to see if they were reset?\n\nIF YES, first cycle power on "
                               "the receiver and watch the Tx/Rx lights to verify the receiver is "
                               "communicating again."),
                platform::PromptButtons::YesNo, platform::PromptIcon::Question) == platform::PromptAnswer::Yes) {
          startSegmentCheck();
        }
        return;
      }
      sendReset(resetType);
    } else if (phase == 2) {
      afterResetSteps();
    }
  }
  receiverTalked = false;
}

void TForm_Diagnostics::afterResetSteps() {
  link::Clock& clock = link_.clock();
  if (controls.CheckBox_Packets->isChecked()) {
    commands::SetPacketBroadcastMask8EA5(link_, 0xFF, 0xE1);
    clock.sleepMs(kQueryPauseMs);
    commands::SetIoOptions35(link_, 0x33, 0x03, 0x01, 0x03);
  }
  const bool factory = currentResetType >= kFactoryAll && currentResetType <= kFactoryConfig;
  if (!controls.CheckBox_EEPROM->isChecked() || !factory) return;
  // The test values; the segment check looks for them after the next factory reset.
  commands::SetAltitude2A(link_, 100.0f);
  commands::SetDatum8E15(link_, 5);
  clock.sleepMs(kQueryPauseMs);
  link::PortSettings port;
  port.port = static_cast<std::uint8_t>(testPort);
  port.baudCode = 7;
  port.dataBitsCode = 3;
  port.parityCode = 0;
  port.stopBitsCode = 0;
  port.inputProtocol = 2;
  port.outputProtocol = 2;
  commands::SetSerialPortBC(link_, port);
  commands::SetPpsOutput8E4E(link_, commands::kPpsAlways);
  clock.sleepMs(kQueryPauseMs);
  commands::SetSelfSurveyParameters8EA9(link_, 1, 0, 100);
  commands::SetNmeaOutput7A(link_, 10, 1);
  clock.sleepMs(kQueryPauseMs);
  commands::SaveSegmentsCommand8E26(link_);
}

void TForm_Diagnostics::stopWithResults() {
  testRunning = false;
  controls.Shape_AppFatalLED->setColor(QColor::fromRgb(widgets::kLampIdle));
  setEditing(true);
  append(QStringLiteral("---------------------------------------\r\n"));
  append(QStringLiteral("TEST RESULTS:\r\n"));
  append(QString::asprintf("Num Resets: %ld\r\n", static_cast<long>(resetCount)));
  append(QStringLiteral("Duration:   %1\r\n").arg(controls.Panel_Duration->text()));
  append(QString::asprintf("Errors:     %d\r\n", errorCount));
  append(QString::asprintf("Exceptions: %d\r\n", exceptionCount));
  append(QStringLiteral("Last Reset: ") + lastResetText);
  if (sink_.showMessages) sink_.showMessages();
}

void TForm_Diagnostics::Button_AppFatalStopClick() {
  if (testRunning) stopWithResults();
}

void TForm_Diagnostics::Button_AppFatalViewClick() {
  if (sink_.showMessages) sink_.showMessages();
}

void TForm_Diagnostics::CheckBox_DeadRecStopClick() {
  stopIfDead = controls.CheckBox_DeadRecStop->isChecked();
}

void TForm_Diagnostics::NextTrackingReset() {
  if (testRunning && intervalMode == kWhenTracking) sendReset(resetType);
}

void TForm_Diagnostics::HeartBeat() {
  if (testRunning) receiverTalked = true;
}

void TForm_Diagnostics::AppFatalError() { appFatal(errorCount, controls.Panel_Errors); }

void TForm_Diagnostics::AppFatalException() { appFatal(exceptionCount, controls.Panel_Exceptions); }

void TForm_Diagnostics::appFatal(std::int32_t& counter, widgets::ValuePanel* panel) {
  if (!testRunning) return;
  append(lastResetText);
  append(QString::asprintf("Reset #%ld\r\n", static_cast<long>(resetCount)));
  ++counter;
  panel->setText(QString::number(counter));
  if (lengthMode == kUntilAppFatal) stopWithResults();
  const bool factory = currentResetType >= kFactoryAll && currentResetType <= kFactoryConfig;
  if (controls.CheckBox_EEPROM->isChecked() && factory) startSegmentCheck();
}

void TForm_Diagnostics::startSegmentCheck() {
  const bool started = worker_.start(link_, readBack_, testPort, [this](const SegmentCheckOutcome& o) {
    // From the worker: the window's text is the GUI thread's.
    QMetaObject::invokeMethod(this, [this, o] { segmentCheckDone(o); }, Qt::QueuedConnection);
  });
  if (!started) {
    prompts_.message(QStringLiteral("Thread Error"), QStringLiteral("Error creating thread."),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
  }
}

void TForm_Diagnostics::segmentCheckDone(const SegmentCheckOutcome& outcome) {
  if (outcome.kind == SegmentCheckOutcome::Kind::Result) {
    append(outcome.text);
  } else if (outcome.kind == SegmentCheckOutcome::Kind::NotRetrieved) {
    prompts_.message(QStringLiteral("Error"), QStringLiteral("Couldn't retrieve segment settings."),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
  }
}

}  // namespace halvix::tools
