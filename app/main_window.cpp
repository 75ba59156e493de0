#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>

#include "app/receiver_types.h"
#include "app/splash_window.h"
#include "app/windows.h"
#include "link/port_settings.h"
#include "recording/replay_device.h"
#include "reports/charts_window.h"
#include "reports/timing_layouts.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"

namespace halvix::app {

using widgets::CaptionLabel;
using widgets::GroupPanel;
using widgets::Lamp;
using widgets::ValuePanel;

namespace {

// Layout of the client area (pixels). Three columns: time, position and mode;
// timing outputs and minor alarms; the satellite table. The status bar runs
// along the bottom.
constexpr int kStatusBarHeight = 19;
constexpr int kPanelAreaHeight = TForm_Main::kClientHeight - kStatusBarHeight;
constexpr int kColumnA = 0, kColumnAWidth = 232;
constexpr int kColumnB = kColumnAWidth, kColumnBWidth = 154;
constexpr int kColumnC = kColumnB + kColumnBWidth;
constexpr int kColumnCWidth = TForm_Main::kClientWidth - kColumnC;
constexpr int kRowTop = 26, kRowPitch = 24, kRowHeight = 20;
constexpr int kTimingOutputsHeight = 176;
// Minor-alarm lamp tops inside their group: the first lamp and the last.
constexpr int kFirstAlarmTop = 29, kLastAlarmTop = 165;
constexpr int kAlarmLampSize = 11;
constexpr int kSvRowTop = 42, kSvRowPitch = 26;

QString qs(const char* text) { return QString::fromUtf8(text); }

QString hintOf(const QWidget* w) {
  for (; w != nullptr; w = w->parentWidget()) {
    if (!w->toolTip().isEmpty()) return w->toolTip();
    if (w->isWindow()) break;
  }
  return {};
}

// The application hint event: mirrors the hint of the control under the
// mouse into the hint panel, and shows hints for their fixed hide pause.
class HintMirror final : public QObject {
 public:
  HintMirror(QLabel* target, QObject* parent) : QObject(parent), target_(target) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWidgetType() || target_.isNull()) return false;
    auto* w = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::Enter: target_->setText(hintOf(w)); break;
      case QEvent::Leave:
        if (!w->isWindow()) target_->setText(hintOf(w->parentWidget()));
        break;
      case QEvent::ToolTip: {
        const QString hint = hintOf(w);
        if (hint.isEmpty()) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), hint, w, QRect(), TForm_Main::kHintHidePauseMs);
        return true;
      }
      default: break;
    }
    return false;
  }

 private:
  QPointer<QLabel> target_;
};

QFont classicFont(QFont f) {
  f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                 QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                 QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(11);
  return f;
}

template <typename T>
T* named(T* w, const char* name) {
  w->setObjectName(qs(name));
  return w;
}

CaptionLabel* caption(QWidget* parent, const QString& text, const QRect& geometry,
                      const char* name = nullptr) {
  auto* l = new CaptionLabel(text, parent);
  if (name != nullptr) l->setObjectName(qs(name));
  l->setGeometry(geometry);
  return l;
}

GroupPanel* group(QWidget* parent, const char* name, const char* title, const char* hint,
                  const QRect& geometry, CaptionLabel** titleLabel = nullptr) {
  auto* g = named(new GroupPanel(parent), name);
  g->setGeometry(geometry);
  g->setToolTip(qs(hint));
  auto* t = caption(g, qs(title), QRect(6, 4, geometry.width() - 12, 16));
  t->setObjectName(QStringLiteral("Label_") + qs(name).mid(6) + QStringLiteral("Title"));
  t->setBold(true);
  if (titleLabel != nullptr) *titleLabel = t;
  return g;
}

// One value panel of a group: its caption, objectName, slot and unit (null: none).
struct PanelRow {
  const char* label;
  const char* name;
  ValuePanel** slot;
  const char* unit;
};

ValuePanel* valuePanel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* p = named(new ValuePanel(parent), name);
  p->setGeometry(geometry);
  return p;
}

}  // namespace

TForm_Main::TForm_Main(AppContext& context, session::ReceiverSession& session, QWidget* parent)
    : QMainWindow(parent), context_(context), session_(session) {
  setObjectName(QStringLiteral("Form_Main"));
  setWindowTitle(QStringLiteral("Halvix"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(classicFont(font()));

  auto* client = named(new QWidget(this), "ClientArea");
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  buildPanels(client);
  buildStatusBar(client);
  buildMenus();
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

  // "Poll Timing Packets" decides what the poll cycle asks for.
  session_.setPollTimingPackets(pollTimingPackets());
  connect(menu.ControlPollingTimingPkts, &QAction::toggled, this,
          [this](bool on) { session_.setPollTimingPackets(on); });

  // Every frame is written on this thread, the diagnostics worker's included
  // (the link takes them over), so the lamp is lit directly.
  connect(&session_.link(), &link::SerialLink::packetSent, this, &TForm_Main::LightTxLamp);
  connect(&session_.dispatcher(), &link::ReportDispatcher::packetReceived, this,
          &TForm_Main::LightRxLamp);
  session_.dispatcher().setDeveloperMode(context_.developerMode);
  lastState_ = session_.state();
  if (!session_.lineCaption().isEmpty()) ShowSerialCaption(session_.lineCaption());
  session_.addObserver(this);
}

TForm_Main::~TForm_Main() {
  session_.removeObserver(this);
  restoreCursor();
  FormDestroy();
}

void TForm_Main::buildPanels(QWidget* client) {
  Controls& c = controls_;
  const auto row = [](int i) { return kRowTop + i * kRowPitch; };

  // Time.
  c.Panel_Timing = group(client, "Panel_Timing", "Time:", "Time: Packet 8F-AB",
                         QRect(kColumnA, 0, kColumnAWidth, 152));
  {
    QWidget* g = c.Panel_Timing;
    const PanelRow rows[] = {{"Time", "Panel_Time", &c.Panel_Time, nullptr},
                {"UTC Offset", "Panel_UTCOffset", &c.Panel_UTCOffset, "seconds"},
                {"TOW", "Panel_TOW", &c.Panel_TOW, nullptr},
                {"Week Num", "Panel_WeekNum", &c.Panel_WeekNum, nullptr},
                {"Date", "Panel_Date", &c.Panel_Date, nullptr}};
    int i = 0;
    for (const auto& r : rows) {
      caption(g, qs(r.label), QRect(8, row(i), 64, kRowHeight),
              (QByteArray("Label_") + QByteArray(r.name).mid(6)).constData());
      *r.slot = valuePanel(g, r.name, QRect(74, row(i), 104, kRowHeight));
      if (r.unit != nullptr) caption(g, qs(r.unit), QRect(182, row(i), 48, kRowHeight));
      ++i;
    }
    c.Label_TimeType = named(new QLabel(QStringLiteral("GPS"), g), "Label_TimeType");
    c.Label_TimeType->setGeometry(182, row(0), 48, kRowHeight);
  }

  // Position.
  c.Panel_Position = group(client, "Panel_Position", "Position:", "Position: Packet 8F-AC",
                           QRect(kColumnA, 152, kColumnAWidth, 128));
  {
    QWidget* g = c.Panel_Position;
    caption(g, QStringLiteral("Latitude"), QRect(8, row(0), 64, kRowHeight), "Label_Latitude");
    c.Panel_Latitude = valuePanel(g, "Panel_Latitude", QRect(74, row(0), 104, kRowHeight));
    caption(g, QStringLiteral("deg"), QRect(182, row(0), 48, kRowHeight));
    caption(g, QStringLiteral("Longitude"), QRect(8, row(1), 64, kRowHeight), "Label_Longitude");
    c.Panel_Longitude = valuePanel(g, "Panel_Longitude", QRect(74, row(1), 104, kRowHeight));
    caption(g, QStringLiteral("deg"), QRect(182, row(1), 48, kRowHeight));
    caption(g, QStringLiteral("Altitude"), QRect(8, row(2), 64, kRowHeight), "Label_Altitude");
    c.Panel_Altitude = valuePanel(g, "Panel_Altitude", QRect(74, row(2), 104, kRowHeight));
    caption(g, QStringLiteral("meters"), QRect(182, row(2), 48, kRowHeight));
    c.Label_SelfSurvey = caption(g, QStringLiteral("Self-Survey Progress"),
                                 QRect(8, row(3), 112, kRowHeight), "Label_SelfSurvey");
    c.Panel_SelfSurvey = valuePanel(g, "Panel_SelfSurvey", QRect(122, row(3), 56, kRowHeight));
    connect(c.Panel_Latitude, &ValuePanel::clicked, this, &TForm_Main::LLAToggle);
    connect(c.Panel_Longitude, &ValuePanel::clicked, this, &TForm_Main::LLAToggle);
    connect(c.Label_SelfSurvey, &CaptionLabel::clicked, this, [this] { OpenWindowOf(menu.SetupSelfSurvey); });
    connect(c.Panel_SelfSurvey, &ValuePanel::clicked, this, [this] { OpenWindowOf(menu.SetupSelfSurvey); });
  }

  // Mode and Status.
  c.Panel_ModeAndStatus =
      group(client, "Panel_ModeAndStatus", "Mode and Status:", "Mode and Status: Packet 8F-AC",
            QRect(kColumnA, 280, kColumnAWidth, kPanelAreaHeight - 280),
            &c.Label_ModeAndStatusTitle);
  {
    QWidget* g = c.Panel_ModeAndStatus;
    caption(g, QStringLiteral("Rcvr Mode"), QRect(8, row(0), 64, kRowHeight), "Label_Mode");
    c.Panel_Mode = valuePanel(g, "Panel_Mode", QRect(74, row(0), 150, kRowHeight));
    caption(g, QStringLiteral("Status"), QRect(8, row(1), 64, kRowHeight), "Label_Status");
    c.Panel_Status = valuePanel(g, "Panel_Status", QRect(74, row(1), 150, kRowHeight));
    connect(c.Label_ModeAndStatusTitle, &CaptionLabel::clicked, this,
            [this] { OpenWindowOf(menu.SetupGPS); });
  }

  // Timing Outputs: caption above each value, unit beside it.
  c.Panel_TimingOutputs = group(client, "Panel_TimingOutputs", "Timing Outputs:",
                                "Timing Outputs: Packet 8F-AC",
                                QRect(kColumnB, 0, kColumnBWidth, kTimingOutputsHeight),
                                &c.Label_TimingOutputsTitle);
  {
    QWidget* g = c.Panel_TimingOutputs;
    const PanelRow rows[] = {{"Local Clock Offset", "Panel_PPSOffset", &c.Panel_PPSOffset, "ns"},
                {"Oscillator Offset", "Panel_10MHz", &c.Panel_10MHz, "ppb"},
                {"PPS Quantization Error", "Panel_Quantization", &c.Panel_Quantization, "ns"}};
    int i = 0;
    for (const auto& r : rows) {
      const int top = 22 + i * 40;
      caption(g, qs(r.label), QRect(8, top, kColumnBWidth - 12, 15),
              (QByteArray("Label_") + QByteArray(r.name).mid(6)).constData());
      *r.slot = valuePanel(g, r.name, QRect(8, top + 17, 96, kRowHeight));
      caption(g, qs(r.unit), QRect(110, top + 17, 36, kRowHeight));
      ++i;
    }
    const QString ppsHint = QStringLiteral("When green, PPS was generated");
    c.Shape_PPS = named(new Lamp(g, kAlarmLampSize), "Shape_PPS");
    c.Shape_PPS->setGeometry(10, 152, kAlarmLampSize, kAlarmLampSize);
    c.Shape_PPS->setToolTip(ppsHint);
    auto* ppsLabel = caption(g, QStringLiteral("PPS Generated"), QRect(26, 150, 120, 15),
                             "Label_PPS");
    ppsLabel->setToolTip(ppsHint);
    connect(c.Label_TimingOutputsTitle, &CaptionLabel::clicked, this,
            [this] { OpenWindowOf(menu.SetupTiming); });
  }

  // Minor Alarms: ten lamps spread evenly from the first top to the last.
  c.Panel_MinorAlarms =
      group(client, "Panel_MinorAlarms", "Minor Alarms:", "Minor Alarms: Packet 8F-AC",
            QRect(kColumnB, kTimingOutputsHeight, kColumnBWidth,
                  kPanelAreaHeight - kTimingOutputsHeight));
  {
    QWidget* g = c.Panel_MinorAlarms;
    constexpr int kRows = static_cast<int>(reports::kMinorAlarms.size());
    int k = 0;
    for (const reports::MinorAlarm& r : reports::kMinorAlarms) {
      const int top = kFirstAlarmTop + k * (kLastAlarmTop - kFirstAlarmTop) / (kRows - 1);
      const QByteArray n = QByteArray::number(r.bit);
      auto* lamp = named(new Lamp(g, kAlarmLampSize), ("Shape_Bit" + n).constData());
      lamp->setGeometry(10, top, kAlarmLampSize, kAlarmLampSize);
      lamp->setToolTip(qs(r.hint));
      auto* label = caption(g, qs(r.caption), QRect(26, top - 2, kColumnBWidth - 30, 15),
                            ("Label_MA" + n).constData());
      label->setToolTip(qs(r.hint));
      c.Shape_Bit[static_cast<std::size_t>(r.bit)] = lamp;
      c.Label_MA[static_cast<std::size_t>(r.bit)] = label;
      ++k;
    }
    // The antenna lamps wait for a receiver type that has them.
    for (int bit : {1, 2}) {
      c.Shape_Bit[static_cast<std::size_t>(bit)]->hide();
      c.Label_MA[static_cast<std::size_t>(bit)]->hide();
    }
    connect(c.Label_MA[10], &CaptionLabel::clicked, this, [this] { OpenWindowOf(menu.ViewEEPROM); });
  }

  // SV Data: twelve rows of satellite number and signal level.
  c.Panel_SVData =
      group(client, "Panel_SVData", "SV Data:", "Signal Levels: Packet 5C; SV Selection: Packet 6D",
            QRect(kColumnC, 0, kColumnCWidth, kPanelAreaHeight), &c.Label_SVDataTitle);
  {
    QWidget* g = c.Panel_SVData;
    caption(g, QStringLiteral("SV"), QRect(10, 24, 26, 16), "Label_SV");
    caption(g, QStringLiteral("AMU"), QRect(40, 24, 40, 16), "Label_AMU");
    for (int i = 0; i < reports::kSvRows; ++i) {
      const QByteArray n = QByteArray::number(i + 1);
      const int top = kSvRowTop + i * kSvRowPitch;
      auto* sv = valuePanel(g, ("Panel_SV" + n).constData(), QRect(8, top, 28, kRowHeight));
      sv->setText(QStringLiteral("0"));
      sv->setToolTip(QStringLiteral("Green, SV is used for fixes; Yellow, TRAIM reject"));
      auto* amu = valuePanel(g, ("Panel_AMU" + n).constData(), QRect(38, top, 40, kRowHeight));
      amu->setText(QStringLiteral("0.0"));
      amu->setToolTip(QStringLiteral("Tracking Status: Packets 3C, 5C"));
      c.Panel_SV[static_cast<std::size_t>(i)] = sv;
      c.Panel_AMU[static_cast<std::size_t>(i)] = amu;
    }
    connect(c.Label_SVDataTitle, &CaptionLabel::clicked, this, [this] { OpenWindowOf(menu.ViewTrack); });
  }
}

void TForm_Main::buildStatusBar(QWidget* client) {
  Controls& c = controls_;
  const int top = kPanelAreaHeight;
  constexpr int kTxRxWidth = 61, kVersionWidth = 32, kSerialWidth = 121;
  constexpr int kHintWidth = kClientWidth - kTxRxWidth - kVersionWidth - kSerialWidth;

  c.Panel_TxRx = named(new GroupPanel(client, GroupPanel::Bevel::Lowered), "Panel_TxRx");
  c.Panel_TxRx->setGeometry(0, top, kTxRxWidth, kStatusBarHeight);
  c.Panel_TxRx->setToolTip(QStringLiteral("Serial Activity"));
  caption(c.Panel_TxRx, QStringLiteral("Tx"), QRect(5, 1, 14, kStatusBarHeight - 2), "Label_Tx");
  c.Shape_TxLED = named(new Lamp(c.Panel_TxRx, 7), "Shape_TxLED");
  c.Shape_TxLED->setGeometry(20, 6, 7, 7);
  caption(c.Panel_TxRx, QStringLiteral("Rx"), QRect(33, 1, 14, kStatusBarHeight - 2), "Label_Rx");
  c.Shape_RxLED = named(new Lamp(c.Panel_TxRx, 7), "Shape_RxLED");
  c.Shape_RxLED->setGeometry(48, 6, 7, 7);
  connect(c.Panel_TxRx, &GroupPanel::clicked, this, &TForm_Main::ViewDiagnosticsClick);

  const auto statusPanel = [&](const char* name, int left, int width, const char* hint) {
    auto* p = valuePanel(client, name, QRect(left, top, width, kStatusBarHeight));
    p->setGreyed();
    p->setToolTip(qs(hint));
    return p;
  };
  c.Panel_Hint = statusPanel("Panel_Hint", kTxRxWidth, kHintWidth, "Hint Box");
  c.Panel_Version =
      statusPanel("Panel_Version", kTxRxWidth + kHintWidth, kVersionWidth, "Firmware Version");
  c.Panel_Version->setAlignment(Qt::AlignCenter);
  c.Panel_Version->setIndent(0);
  c.Panel_Serial = statusPanel("Panel_Serial", kClientWidth - kSerialWidth, kSerialWidth,
                               "Serial Port Configuration");
  connect(c.Panel_Version, &ValuePanel::clicked, this, [this] { OpenWindowOf(menu.ViewProductInfo); });
  connect(c.Panel_Serial, &ValuePanel::clicked, this, [this] { OpenWindowOf(menu.SetupSerialPorts); });
}

bool TForm_Main::FormCreate() {
  const PortChoice& port = context_.port;
  if (!session_.start()) {
    // No retries behind a run that ends here.
    session_.stop();
    // A numbered port is named as the operator chose it; a device path in full.
    const QString what = port.numbered ? QStringLiteral("COM%1").arg(port.comPort) : port.deviceName;
    context_.prompts.message(QStringLiteral("Serial Port Error"),
                             QStringLiteral("Could not initialize %1.").arg(what),
                             platform::PromptButtons::Ok, platform::PromptIcon::Error);
    return false;
  }

  // Hints: every control's tool tip, mirrored into the hint panel.
  if (hintMirror_ == nullptr) {
    hintMirror_ = new HintMirror(controls_.Panel_Hint, this);
    qApp->installEventFilter(hintMirror_);
  }
  setWindowTitle(port.titlePrefix + QStringLiteral(" Halvix"));
  context_.link.sendEnabled = true;
  menu.ViewDiagnostics->setVisible(context_.developerMode);
  return true;
}

void TForm_Main::setBusyCursor(bool busy) {
  if (busy == busyCursor_) return;
  busyCursor_ = busy;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void TForm_Main::restoreCursor() { setBusyCursor(false); }

void TForm_Main::FormClose() {
  restoreCursor();
  session_.stop();
}

void TForm_Main::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  for (const auto& hook : hooks.destroy) {
    if (hook) hook();
  }
}

void TForm_Main::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
  Q_EMIT closed();
}

void TForm_Main::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (QScreen* s = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TForm_Main::DisplayReset(bool withSatellites) {
  Controls& c = controls_;
  // Reports already waiting are shown first.
  session_.receive();
  for (ValuePanel* p : {c.Panel_Time, c.Panel_Date, c.Panel_UTCOffset, c.Panel_TOW, c.Panel_WeekNum,
                        c.Panel_Mode, c.Panel_Status, c.Panel_Latitude, c.Panel_Longitude,
                        c.Panel_Altitude}) {
    p->clear();
  }
  for (ValuePanel* p : {c.Panel_PPSOffset, c.Panel_10MHz, c.Panel_Quantization, c.Panel_SelfSurvey}) {
    p->setLiveValue(QString());
  }
  c.Shape_PPS->setColor(QColor::fromRgb(widgets::kLampIdle));
  for (Lamp* lamp : c.Shape_Bit) {
    if (lamp != nullptr) lamp->setColor(QColor::fromRgb(widgets::kLampIdle));
  }
  if (!withSatellites) return;
  for (ValuePanel* p : c.Panel_SV) p->setLiveValue(QStringLiteral("0"));
  for (ValuePanel* p : c.Panel_AMU) p->setLiveValue(QStringLiteral("0.0"));
}

void TForm_Main::TimingPanelBlanking() {
  Controls& c = controls_;
  for (ValuePanel* p : {c.Panel_SelfSurvey, c.Panel_PPSOffset, c.Panel_10MHz, c.Panel_Quantization}) {
    p->setValue(QString(), ValuePanel::buttonFaceColor());
  }
  c.Shape_PPS->setColor(QColor::fromRgb(widgets::kLampIdle));
  for (Lamp* lamp : c.Shape_Bit) {
    if (lamp != nullptr) lamp->setColor(QColor::fromRgb(widgets::kLampIdle));
  }
}

void TForm_Main::LLAToggle() { context_.display.showDegMinSec = !context_.display.showDegMinSec; }

void TForm_Main::LightTxLamp() { controls_.Shape_TxLED->setColor(QColor::fromRgb(widgets::kLampLit)); }

void TForm_Main::LightRxLamp() { controls_.Shape_RxLED->setColor(QColor::fromRgb(widgets::kLampLit)); }

void TForm_Main::ShowReplayStatus(const QString& text, bool commandsDropped) {
  controls_.Panel_Hint->setText(text);
  if (commandsDropped) controls_.Panel_Serial->setText(QString::fromLatin1(recording::kReplayCommandsText));
}

void TForm_Main::ShowSerialCaption(const QString& caption) { controls_.Panel_Serial->setText(caption); }

int TForm_Main::ApplyPortSettings(const link::PortSettings& settings) {
  return session_.applyPortSettings(settings) ? 0 : -1;
}

// SessionObserver.
void TForm_Main::stateChanged(session::ReceiverSession&, session::SessionState state) {
  // A vanished device is open again: the charts mark where its data resumes.
  if (lastState_ == session::SessionState::Waiting && state == session::SessionState::Negotiating &&
      windows_ != nullptr && windows_->charts) {
    windows_->charts->DeviceBack();
  }
  lastState_ = state;
}

void TForm_Main::negotiationStarted(session::ReceiverSession&, session::BreakForm form) {
  setBusyCursor(true);
  // The full negotiation (start-up, reconnect) is shown by the splash window.
  if (form != session::BreakForm::Full || windows_ == nullptr || !windows_->splash) return;
  windows_->splash->FitToPicture();
  windows_->splash->show();
  windows_->splash->repaint();
}

void TForm_Main::negotiationEnded(session::ReceiverSession&, session::BreakForm) {
  restoreCursor();
  if (windows_ != nullptr && windows_->splash) windows_->splash->close();
}

void TForm_Main::lineCaptionChanged(session::ReceiverSession&, const QString& caption) {
  ShowSerialCaption(caption);
}

void TForm_Main::pollTickStarted(session::ReceiverSession&) {
  Lamp* tx = controls_.Shape_TxLED;
  Lamp* rx = controls_.Shape_RxLED;
  for (auto [lamp, lit] : {std::pair{tx, &txLampLit_}, std::pair{rx, &rxLampLit_}}) {
    if (*lit) {
      lamp->setColor(QColor::fromRgb(widgets::kLampIdle));
      lamp->repaint();
      *lit = false;
    }
    if (lamp->is(widgets::kLampLit)) *lit = true;
  }
}

void TForm_Main::roundHousekeeping(session::ReceiverSession&) {
  if (hooks.ageSatelliteRows) hooks.ageSatelliteRows();
  reports::DisplayState& d = context_.display;
  // Only the step to exactly 0 blanks; the counters then fall on without effect.
  if (--d.timeReportCountdown == 0) {
    DisplayReset(false);
    if (!pollTimingPackets()) TimingPanelBlanking();
  }
  if (--d.timingReportCountdown == 0 && !pollTimingPackets()) TimingPanelBlanking();
}

void TForm_Main::expireWatchdogs() {
  reports::DisplayState& d = context_.display;
  if (d.timeReportCountdown > 0) {
    d.timeReportCountdown = 0;
    DisplayReset(false);
    if (!pollTimingPackets()) TimingPanelBlanking();
  }
  if (d.timingReportCountdown > 0) {
    d.timingReportCountdown = 0;
    if (!pollTimingPackets()) TimingPanelBlanking();
  }
}

void TForm_Main::deviceLost(session::ReceiverSession&, const QString& message) {
  // Queued: the loss may be found inside a poll tick, and a modal box must
  // not open in the middle of one. A loss the device reports by itself comes
  // through the event loop, so it is seen inside any open box as well.
  QMetaObject::invokeMethod(this, [this, message] { showDeviceLost(message); }, Qt::QueuedConnection);
  if (windows_ != nullptr && windows_->charts) windows_->charts->DeviceLost();
}

void TForm_Main::showDeviceLost(const QString& message) {
  // Already back: the status bar has said it all.
  if (!session_.link().lost()) return;
  restoreCursor();
  expireWatchdogs();
  // One box per run: a cable that comes and goes is told by the status bar.
  if (deviceLostShown_) return;
  deviceLostShown_ = true;
  context_.prompts.message(QStringLiteral("Serial Port Error"), message, platform::PromptButtons::Ok,
                           platform::PromptIcon::Error);
}

void TForm_Main::inputDropped(session::ReceiverSession&, std::uint64_t total) {
  controls_.Panel_Hint->setText(
      QStringLiteral("Input overflow: %1 bytes dropped").arg(static_cast<qulonglong>(total)));
}

void TForm_Main::ShowWindow(QWidget* window) {
  if (window == nullptr) return;
  window->show();
  window->raise();
  window->activateWindow();
}

bool TForm_Main::pollTimingPackets() const { return menu.ControlPollingTimingPkts->isChecked(); }

}  // namespace halvix::app
