#include "tools/diagnostics_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "platform/operator_prompts.h"
#include "link/serial_link.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"

namespace halvix::tools {

namespace ui = widgets::ui;

namespace {

// A control that takes its text first, named and placed.
template <typename Control>
Control* Placed(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* c = new Control(text, parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setGeometry(geometry);
  return c;
}

QGroupBox* RadioGroup(QWidget* parent, const char* name, const QString& title,
                      std::initializer_list<const char*> items, int checked, const QRect& geometry,
                      QButtonGroup*& group) {
  auto* box = Placed<QGroupBox>(parent, name, title, geometry);
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

}  // namespace

TForm_Diagnostics::TForm_Diagnostics(platform::OperatorPrompts& prompts, link::SerialLink& link,
                                     reports::ReadBackFields& readBack, QWidget* parent)
    : QDialog(parent),
      cycle_(link),
      prompts_(prompts),
      link_(link),
      readBack_(readBack),
      inputRate_(link) {
  ui::SetUpWindow(this, "Form_Diagnostics", QStringLiteral("Diagnostics"), QSize(556, 372));
  buildControls();
  controls_.Timer_Diagnostics->start();
}

TForm_Diagnostics::~TForm_Diagnostics() {
  // FormDestroy: the worker finishes its current step and is joined.
  worker_.stop();
}

void TForm_Diagnostics::buildControls() {
  Controls& c = controls_;

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
  c.Edit_Length = Placed<QLineEdit>(tests, "Edit_Length", QStringLiteral("1200"), QRect(154, 40, 60, 21));
  c.RadioGroup_Interval = RadioGroup(tests, "RadioGroup_Interval", QStringLiteral("Reset Interval"),
                                     {"Timed", "When Tracking"}, kTimedInterval,
                                     QRect(8, 104, 140, 56), c.intervalItems);
  c.Edit_Interval = Placed<QLineEdit>(tests, "Edit_Interval", QStringLiteral("5"), QRect(154, 118, 60, 21));
  c.RadioGroup_ResetType = RadioGroup(
      tests, "RadioGroup_ResetType", QStringLiteral("Reset Type"),
      {"Cold Reset", "Warm Reset", "Factory (All)", "Factory (Nav)", "Factory (Config)", "Random"},
      kRandom, QRect(228, 26, 128, 134), c.resetTypeItems);

  c.CheckBox_Packets = Placed<QCheckBox>(tests, "CheckBox_Packets",
                                         QStringLiteral("Turn on All Output Packets After Reset"),
                                         QRect(10, 166, 346, 18));
  c.CheckBox_EEPROM = Placed<QCheckBox>(tests, "CheckBox_EEPROM",
                                        QStringLiteral("Modify segments, write to EEPROM after Factory Reset"),
                                        QRect(10, 186, 346, 18));
  c.CheckBox_DeadRecStop = Placed<QCheckBox>(tests, "CheckBox_DeadRecStop",
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
  // The steps read the boxes as they are at each second.
  connect(c.CheckBox_Packets, &QCheckBox::toggled, this,
          [this](bool on) { cycle_.packetsAfterReset = on; });
  connect(c.CheckBox_EEPROM, &QCheckBox::toggled, this,
          [this](bool on) { cycle_.modifySegments = on; });
}

void TForm_Diagnostics::append(const QString& text) {
  if (sink_.appendMessage) sink_.appendMessage(text);
}

void TForm_Diagnostics::Timer_DiagnosticsTimer() {
  // I/O utilization, running or not.
  controls_.Panel_Output->setText(QString::number(inputRate_.tick()));
  if (!cycle_.running) return;
  cycle_.countSecond();
  controls_.Panel_Duration->setText(cycle_.durationText());
  repaint();
  const ResetCycle::Tick tick = cycle_.step();
  showState();
  if (tick == ResetCycle::Tick::Running) return;
  showStopped();
  if (tick == ResetCycle::Tick::FellSilent && controls_.CheckBox_EEPROM->isChecked() &&
      prompts_.message(
          QStringLiteral("Check Segments?"),
          QStringLiteral("The receiver has stopped talking.  Do you wish to check the EEPROM "
                         "segments to see if they were reset?\n\nIF YES, first cycle power on "
                         "the receiver and watch the Tx/Rx lights to verify the receiver is "
                         "communicating again."),
          platform::PromptButtons::YesNo, platform::PromptIcon::Question) == platform::PromptAnswer::Yes) {
    startSegmentCheck();
  }
}

void TForm_Diagnostics::Button_ResetClick() { inputRate_.reset(); }

void TForm_Diagnostics::setEditing(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           controls_.RadioGroup_Length, controls_.RadioGroup_Interval, controls_.RadioGroup_ResetType,
           controls_.Edit_Length, controls_.Edit_Interval, controls_.Button_AppFatalStart}) {
    w->setEnabled(enabled);
  }
  controls_.Button_AppFatalStop->setEnabled(!enabled);
}

void TForm_Diagnostics::Button_AppFatalStartClick() {
  if (cycle_.running) return;
  const Controls& c = controls_;
  const bool started =
      cycle_.start({c.lengthItems->checkedId(), c.intervalItems->checkedId(),
                    c.resetTypeItems->checkedId(), c.Edit_Length->text(), c.Edit_Interval->text()});
  if (!started) {
    prompts_.message(QStringLiteral("Error"),
                     QStringLiteral("The reset interval must be a whole number of seconds, 1 or more."),
                     platform::PromptButtons::Ok, platform::PromptIcon::Error);
    return;
  }
  c.Shape_AppFatalLED->setColor(QColor::fromRgb(widgets::kLampLit));
  setEditing(false);
  c.Panel_Duration->setText(cycle_.durationText());
  showState();
}

void TForm_Diagnostics::showState() {
  const Controls& c = controls_;
  c.Panel_NumResets->setText(QString::number(cycle_.resetCount));
  c.Panel_CurrentReset->setText(cycle_.lastResetText.trimmed());
  c.Panel_Errors->setText(QString::number(cycle_.errorCount));
  c.Panel_Exceptions->setText(QString::number(cycle_.exceptionCount));
}

void TForm_Diagnostics::showStopped() {
  controls_.Shape_AppFatalLED->setColor(QColor::fromRgb(widgets::kLampIdle));
  setEditing(true);
  for (const QString& line : cycle_.resultsText()) append(line);
  if (sink_.showMessages) sink_.showMessages();
}

void TForm_Diagnostics::Button_AppFatalStopClick() {
  if (!cycle_.running) return;
  cycle_.stop();
  showStopped();
}

void TForm_Diagnostics::Button_AppFatalViewClick() {
  if (sink_.showMessages) sink_.showMessages();
}

void TForm_Diagnostics::CheckBox_DeadRecStopClick() {
  stopIfDead = controls_.CheckBox_DeadRecStop->isChecked();
}

void TForm_Diagnostics::NextTrackingReset() {
  if (!cycle_.running) return;
  cycle_.nextTrackingReset();
  showState();
}

void TForm_Diagnostics::HeartBeat() { cycle_.heartBeat(); }

void TForm_Diagnostics::AppFatalError() { appFatal(false); }

void TForm_Diagnostics::AppFatalException() { appFatal(true); }

void TForm_Diagnostics::appFatal(bool exception) {
  if (!cycle_.running) return;
  for (const QString& line : cycle_.fatalText()) append(line);
  const ResetCycle::Fatal fatal = cycle_.appFatal(exception);
  showState();
  if (fatal.stopped) showStopped();
  if (fatal.checkSegments) startSegmentCheck();
}

void TForm_Diagnostics::startSegmentCheck() {
  const bool started =
      worker_.start(link_, readBack_, cycle_.testPort, [this](const SegmentCheckOutcome& o) {
        // From the worker: the window's text is the GUI thread's.
        QMetaObject::invokeMethod(
            this, [this, o] { segmentCheckDone(o); }, Qt::QueuedConnection);
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
