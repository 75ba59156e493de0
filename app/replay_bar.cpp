#include "app/replay_bar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "platform/operator_prompts.h"
#include "recording/replay_device.h"

namespace halvix::app {

namespace {

constexpr double kSpeeds[] = {0.25, 0.5, 1, 2, 5, 10, 20, 50, 100};

QString SpeedText(double speed) { return QString::number(speed) + QLatin1Char('x'); }

}  // namespace

ReplayBar::ReplayBar(recording::ReplayDevice& device, TForm_Main& main)
    : QWidget(&main, Qt::Tool), device_(device), main_(main) {
  setObjectName(QStringLiteral("ReplayBar"));
  setWindowTitle(QStringLiteral("Replay"));
  auto* layout = new QVBoxLayout(this);
  Controls& c = controls_;
  c.Button_Pause = new QPushButton(QStringLiteral("&Pause"), this);
  c.Button_Pause->setObjectName(QStringLiteral("Button_Pause"));
  c.ComboBox_Speed = new QComboBox(this);
  c.ComboBox_Speed->setObjectName(QStringLiteral("ComboBox_Speed"));
  for (const double s : kSpeeds) c.ComboBox_Speed->addItem(SpeedText(s), s);
  int at = c.ComboBox_Speed->findData(device.speed());
  if (at < 0) {
    // A speed from the command line between the usual steps.
    int before = 0;
    while (before < c.ComboBox_Speed->count() && c.ComboBox_Speed->itemData(before).toDouble() < device.speed()) ++before;
    c.ComboBox_Speed->insertItem(before, SpeedText(device.speed()), device.speed());
    at = before;
  }
  c.ComboBox_Speed->setCurrentIndex(at);
  c.Label_Position = new QLabel(this);
  c.Label_Position->setObjectName(QStringLiteral("Label_Position"));
  // A long file name is cut rather than widening the bar.
  c.Label_Position->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  // The buttons on one row, where the replay is on the next: the bar is as narrow as the main window.
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(c.Button_Pause);
  buttons->addWidget(new QLabel(QStringLiteral("Speed:"), this));
  buttons->addWidget(c.ComboBox_Speed);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  layout->addWidget(c.Label_Position);
  c.Timer_Replay = new QTimer(this);
  c.Timer_Replay->setObjectName(QStringLiteral("Timer_Replay"));
  connect(c.Timer_Replay, &QTimer::timeout, this, &ReplayBar::Timer_ReplayTimer);
  connect(c.Button_Pause, &QPushButton::clicked, this, &ReplayBar::Button_PauseClick);
  connect(c.ComboBox_Speed, &QComboBox::activated, this, &ReplayBar::ComboBox_SpeedChange);
  // A command said at once: it went nowhere.
  device_.setCommandDropped([this] { QTimer::singleShot(0, this, &ReplayBar::Timer_ReplayTimer); });
  c.Timer_Replay->start(kRefreshMs);
  Timer_ReplayTimer();
}

void ReplayBar::showBelowMain() {
  adjustSize();
  resize(main_.frameGeometry().width(), height());
  move(main_.frameGeometry().bottomLeft() + QPoint(0, 4));
  show();
}

void ReplayBar::Timer_ReplayTimer() {
  if (device_.held() && main_.session().state() == session::SessionState::Polling) device_.setHeld(false);
  controls_.Label_Position->setText(recording::ReplayStatusText(device_));
  main_.ShowReplayStatus(recording::ReplayStatusText(device_, false), device_.commandsDropped() > 0);
  controls_.Button_Pause->setEnabled(!device_.finished());
}

void ReplayBar::Button_PauseClick() {
  device_.setPaused(!device_.paused());
  controls_.Button_Pause->setText(device_.paused() ? QStringLiteral("&Resume") : QStringLiteral("&Pause"));
  Timer_ReplayTimer();
}

void ReplayBar::ComboBox_SpeedChange() {
  device_.setSpeed(controls_.ComboBox_Speed->currentData().toDouble());
  Timer_ReplayTimer();
}

void OpenReplayWindow(const QString& fileName, bool developerMode, platform::OperatorPrompts& prompts) {
  QStringList args{QStringLiteral("--replay=") + fileName};
  if (developerMode) args << QStringLiteral("-d");
  if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), args)) {
    prompts.message(QStringLiteral("Error"), QStringLiteral("Could not start the replay of %1.").arg(fileName),
                    platform::PromptButtons::Ok, platform::PromptIcon::Error);
  }
}

}  // namespace halvix::app
