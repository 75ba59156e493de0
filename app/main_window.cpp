#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolTip>

#include "app/receiver_types.h"
#include "app/splash_window.h"
#include "app/windows.h"
#include "commands/altitude_dialog.h"
#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "commands/brisel_survey_dialog.h"
#include "commands/catalogue.h"
#include "commands/datum_dialog.h"
#include "commands/default_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/initial_pos_dialog.h"
#include "commands/initial_time_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/self_survey_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/sv_num_dialog.h"
#include "commands/timing_out_dialog.h"
#include "link/port_settings.h"
#include "reports/add_timing_window.h"
#include "reports/charts_window.h"
#include "reports/ephem_stat_window.h"
#include "reports/group_panel.h"
#include "reports/lamp.h"
#include "reports/product_window.h"
#include "reports/raw_meas_window.h"
#include "reports/track_window.h"
#include "reports/utc_param_window.h"
#include "reports/value_panel.h"
#include "reports/vel_pos_window.h"
#include "tools/about_window.h"
#include "tools/alm_health_window.h"
#include "tools/alm_window.h"
#include "tools/almanac_data_window.h"
#include "tools/almanac_transfer.h"
#include "tools/diagnostics_window.h"
#include "tools/eeprom_window.h"
#include "tools/log_qlip_window.h"

namespace halvix::app {

using reports::CaptionLabel;
using reports::GroupPanel;
using reports::Lamp;
using reports::ValuePanel;

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

struct AlarmRow {
  int bit;
  const char* caption;
  const char* hint;
};

// Top to bottom as laid out; bits 0, 4 and 12 to 15 have no lamp.
constexpr AlarmRow kAlarmRows[] = {
    {1, "Antenna Open", "When yellow, the antenna input is open"},
    {2, "Antenna Short", "When yellow, the antenna input is shorted"},
    {3, "Satellite Tracking", "When yellow, no satellites are usable"},
    {5, "Self-Survey Activity", "When Yellow, a self-survey is in progress"},
    {6, "Stored Position", "When Yellow, a stored position does not exist"},
    {7, "Leap Second Pending", "When yellow, a leap second event is pending"},
    {8, "Test Mode", "When yellow, the unit is in a test mode"},
    {9, "Position Questionable", "When yellow, the position accuracy is questionable"},
    {10, "EEPROM Invalid", "When yellow, invalid EEPROM segments detected"},
    {11, "Almanac", "When yellow, almanac is not complete or current"},
};

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

ValuePanel* valuePanel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* p = named(new ValuePanel(parent), name);
  p->setGeometry(geometry);
  return p;
}

}  // namespace

TForm_Main::TForm_Main(AppContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      dispatcher_(),
      pollCycle_(context.link, *this, dispatcher_.callback(), context.display.timeReportCountdown,
                 context.display.timingReportCountdown),
      breakSequence_(context.link, breakHooks()) {
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

  controls.Timer_QLIP = named(new QTimer(this), "Timer_QLIP");
  controls.Timer_QLIP->setInterval(kTimerIntervalMs);
  connect(controls.Timer_QLIP, &QTimer::timeout, this, &TForm_Main::QLIPTimer);
  controls.TimerBreak = named(new QTimer(this), "TimerBreak");
  controls.TimerBreak->setInterval(kTimerIntervalMs);
  connect(controls.TimerBreak, &QTimer::timeout, this, &TForm_Main::TimerBreakTimer);
  controls.Timer_Reconnect = named(new QTimer(this), "Timer_Reconnect");
  controls.Timer_Reconnect->setInterval(kReconnectIntervalMs);
  connect(controls.Timer_Reconnect, &QTimer::timeout, this, &TForm_Main::ReconnectTimer);

  // The link may send from another thread (the diagnostics worker); the
  // context object makes the lamp update a queued call then.
  connect(&context_.link, &link::SerialLink::packetSent, this, &TForm_Main::LightTxLamp);
  connect(&dispatcher_, &link::ReportDispatcher::packetReceived, this, &TForm_Main::LightRxLamp);
  // Queued: the loss is found inside a poll tick, and a modal box must not
  // open in the middle of one.
  connect(&context_.link, &link::SerialLink::deviceLost, this, &TForm_Main::onDeviceLost,
          Qt::QueuedConnection);
  connect(&context_.link, &link::SerialLink::inputOverflow, this, &TForm_Main::onInputOverflow);
  dispatcher_.setDeveloperMode(context_.developerMode);
}

TForm_Main::~TForm_Main() { FormDestroy(); }

void TForm_Main::buildPanels(QWidget* client) {
  Controls& c = controls;
  const auto row = [](int i) { return kRowTop + i * kRowPitch; };

  // Time.
  c.Panel_Timing = group(client, "Panel_Timing", "Time:", "Time: Packet 8F-AB",
                         QRect(kColumnA, 0, kColumnAWidth, 152));
  {
    QWidget* g = c.Panel_Timing;
    const struct {
      const char* label;
      const char* name;
      ValuePanel** slot;
      const char* unit;
    } rows[] = {{"Time", "Panel_Time", &c.Panel_Time, nullptr},
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
    connect(c.Label_SelfSurvey, &CaptionLabel::clicked, this, &TForm_Main::SetupSelfSurveyClick);
    connect(c.Panel_SelfSurvey, &ValuePanel::clicked, this, &TForm_Main::SetupSelfSurveyClick);
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
    connect(c.Label_ModeAndStatusTitle, &CaptionLabel::clicked, this, &TForm_Main::SetupGPSClick);
  }

  // Timing Outputs: caption above each value, unit beside it.
  c.Panel_TimingOutputs = group(client, "Panel_TimingOutputs", "Timing Outputs:",
                                "Timing Outputs: Packet 8F-AC",
                                QRect(kColumnB, 0, kColumnBWidth, kTimingOutputsHeight),
                                &c.Label_TimingOutputsTitle);
  {
    QWidget* g = c.Panel_TimingOutputs;
    const struct {
      const char* label;
      const char* name;
      ValuePanel** slot;
      const char* unit;
    } rows[] = {{"Local Clock Offset", "Panel_PPSOffset", &c.Panel_PPSOffset, "ns"},
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
    connect(c.Label_TimingOutputsTitle, &CaptionLabel::clicked, this, &TForm_Main::SetupTimingClick);
  }

  // Minor Alarms: ten lamps spread evenly from the first top to the last.
  c.Panel_MinorAlarms =
      group(client, "Panel_MinorAlarms", "Minor Alarms:", "Minor Alarms: Packet 8F-AC",
            QRect(kColumnB, kTimingOutputsHeight, kColumnBWidth,
                  kPanelAreaHeight - kTimingOutputsHeight));
  {
    QWidget* g = c.Panel_MinorAlarms;
    constexpr int kRows = static_cast<int>(std::size(kAlarmRows));
    int k = 0;
    for (const AlarmRow& r : kAlarmRows) {
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
    connect(c.Label_MA[10], &CaptionLabel::clicked, this, &TForm_Main::ViewEEPROMClick);
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
    connect(c.Label_SVDataTitle, &CaptionLabel::clicked, this, &TForm_Main::ViewTrackClick);
  }
}

void TForm_Main::buildStatusBar(QWidget* client) {
  Controls& c = controls;
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
  connect(c.Panel_Version, &ValuePanel::clicked, this, &TForm_Main::ViewProductInfoClick);
  connect(c.Panel_Serial, &ValuePanel::clicked, this, &TForm_Main::SetupSerialPortsClick);
}

void TForm_Main::buildMenus() {
  MenuItems& m = menu;
  m.MainMenu_Main = menuBar();
  m.MainMenu_Main->setObjectName(QStringLiteral("MainMenu_Main"));

  const auto addMenu = [&](QMenu* parentMenu, const char* name, const char* text) {
    QMenu* sub = parentMenu != nullptr ? parentMenu->addMenu(qs(text))
                                       : m.MainMenu_Main->addMenu(qs(text));
    sub->setObjectName(qs(name));
    sub->menuAction()->setObjectName(qs(name));
    return sub;
  };
  const auto item = [&](QMenu* into, const char* name, const char* text, void (TForm_Main::*handler)(),
                        const QKeySequence& shortcut = {}) {
    QAction* a = into->addAction(qs(text));
    a->setObjectName(qs(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    if (handler != nullptr) connect(a, &QAction::triggered, this, handler);
    return a;
  };
  // Check marks belong to the handlers (a choice may be refused), so the
  // automatic toggle of a checkable item is undone before the handler runs.
  const auto checkItem = [&](QMenu* into, const char* name, const char* text,
                             void (TForm_Main::*handler)()) {
    QAction* a = into->addAction(qs(text));
    a->setObjectName(qs(name));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, a, handler](bool checked) {
      a->setChecked(!checked);
      (this->*handler)();
    });
    return a;
  };
  const auto separator = [](QMenu* into, const char* name = nullptr) {
    QAction* s = into->addSeparator();
    if (name != nullptr) s->setObjectName(qs(name));
    return s;
  };
  // Hidden items are disabled for their shortcut too, so each hidden item
  // with a handler also gets a window-wide shortcut of its own.
  const auto hiddenItem = [&](QMenu* into, const char* name, const char* text,
                              void (TForm_Main::*handler)(), const QKeySequence& key) {
    QAction* a = item(into, name, text, handler, key);
    a->setVisible(false);
    if (handler != nullptr) {
      auto* shortcut = new QShortcut(key, this);
      shortcut->setObjectName(qs(name) + QStringLiteral("Key"));
      connect(shortcut, &QShortcut::activated, this, handler);
    }
    return a;
  };

  QMenu* control = m.ControlMenu = addMenu(nullptr, "ControlMenu", "&Control");
  m.ControlCold = item(control, "ControlCold", "&Cold Reset", &TForm_Main::ControlColdClick,
                       QKeySequence(Qt::CTRL | Qt::Key_K));
  m.ControlWarm = item(control, "ControlWarm", "&Warm Reset", &TForm_Main::ControlWarmClick,
                       QKeySequence(Qt::CTRL | Qt::Key_R));
  QMenu* factory = m.ControlFactoryReset = addMenu(control, "ControlFactoryReset", "&Factory Reset");
  m.FactoryResetAllParams = item(factory, "FactoryResetAllParams", "&All Data and Parameters",
                                 &TForm_Main::ControlFactoryResetClick);
  m.FactoryResetNavagationData = item(factory, "FactoryResetNavagationData", "&Navigation Data",
                                      &TForm_Main::FactoryResetNavagationDataClick);
  m.FactoryResetConfigParams = item(factory, "FactoryResetConfigParams", "&Configuration Parameters",
                                    &TForm_Main::FactoryResetConfigParamsClick);
  m.ControlSelfSurvey = item(control, "ControlSelfSurvey", "Restart &Self-Survey",
                             &TForm_Main::ControlSelfSurveyClick);
  separator(control);
  m.ControlUploadPos = item(control, "ControlUploadPos", "Upload &Position...",
                            &TForm_Main::ControlUploadPosClick);
  m.ControlUploadTime = item(control, "ControlUploadTime", "Upload &Time From PC...",
                             &TForm_Main::ControlUploadTimeClick);
  separator(control);
  m.ControlUploadAlmanac = item(control, "ControlUploadAlmanac", "&Upload Almanac...",
                                &TForm_Main::ControlUploadAlmanacClick);
  m.ControlDownloadAlmanac = item(control, "ControlDownloadAlmanac", "&Download Almanac...",
                                  &TForm_Main::ControlDownloadAlmanacClick);
  separator(control);
  m.ControlDownloadPos = item(control, "ControlDownloadPos", "D&ownload Position...",
                              &TForm_Main::ControlDownloadPosClick);
  m.ControlTimeToPC = item(control, "ControlTimeToPC", "Down&load Time To PC",
                           &TForm_Main::ControlTimeToPCClick);
  separator(control);
  m.ControlPollingTimingPkts = checkItem(control, "ControlPollingTimingPkts", "Poll Timing P&ackets",
                                         &TForm_Main::ControlPollingTimingPktsClick);
  QMenu* recType = m.ControlRecType = addMenu(control, "ControlRecType", "C&hange Receiver Type");
  m.RecTypeCvl = checkItem(recType, "RecTypeCvl", "&Corvel", &TForm_Main::RecTypeCvlClick);
  m.RecTypeCvlNorden =
      checkItem(recType, "RecTypeCvlNorden", "Corvel &Norden", &TForm_Main::RecTypeCvlNordenClick);
  m.RecTypeCvlPellam =
      checkItem(recType, "RecTypeCvlPellam", "Corvel &Pellam", &TForm_Main::RecTypeCvlPellamClick);
  m.RecTypeCvlCVL2 = checkItem(recType, "RecTypeCvlCVL2", "Corvel Corvel II Compa&tible",
                               &TForm_Main::RecTypeCvlCVL2Click);
  m.RecTypeBrisel = checkItem(recType, "RecTypeBrisel", "&Brisel", &TForm_Main::RecTypeBriselClick);
  m.RecTypeDolvoUTC =
      checkItem(recType, "RecTypeDolvoUTC", "Dolvo &UTC", &TForm_Main::RecTypeDolvoUTCClick);
  separator(control);
  m.ControlRecordQlip = item(control, "ControlRecordQlip", "&Record QLIP...",
                             &TForm_Main::ControlRecordQlipClick);
  m.ControlBackdoor = hiddenItem(control, "ControlBackdoor", "Backdoor", nullptr, QKeySequence(Qt::Key_F1));
  m.Control_PacketsOn = hiddenItem(control, "Control_PacketsOn", "Packets On",
                                   &TForm_Main::Control_PacketsOnClick, QKeySequence(Qt::Key_F2));
  m.Control_SICode6 = hiddenItem(control, "Control_SICode6", "SI Code 6",
                                 &TForm_Main::Control_SICode6Click, QKeySequence(Qt::Key_F6));
  m.Control_SICode8 = hiddenItem(control, "Control_SICode8", "SI Code 8",
                                 &TForm_Main::Control_SICode8Click, QKeySequence(Qt::Key_F8));
  m.Control_SICode9 = hiddenItem(control, "Control_SICode9", "SI Code 9",
                                 &TForm_Main::Control_SICode9Click, QKeySequence(Qt::Key_F9));

  QMenu* setup = m.SetupMenu = addMenu(nullptr, "SetupMenu", "&Setup");
  m.SetupGPS = item(setup, "SetupGPS", "&GPS Settings...", &TForm_Main::SetupGPSClick);
  m.SetupOneSVMode = item(setup, "SetupOneSVMode", "S&V for 1 Satellite Mode...",
                          &TForm_Main::SetupOneSVModeClick);
  m.Setup2DAltMode = item(setup, "Setup2DAltMode", "Altitude for &2D Mode...",
                          &TForm_Main::Setup2DAltModeClick);
  separator(setup, "N1");
  m.SetupIO = item(setup, "SetupIO", "&Packet Masks and Options...", &TForm_Main::SetupIOClick);
  m.SetupPortBOutput = item(setup, "SetupPortBOutput", "Port &B Output...",
                            &TForm_Main::SetupPortBOutputClick);
  m.SetupTiming = item(setup, "SetupTiming", "&Timing Outputs...", &TForm_Main::SetupTimingClick);
  separator(setup, "N2");
  m.SetupDatum = item(setup, "SetupDatum", "&Datum...", &TForm_Main::SetupDatumClick);
  m.N3 = separator(setup, "N3");
  m.SetupNMEAOutpu = item(setup, "SetupNMEAOutpu", "&NMEA Output...", &TForm_Main::SetupNMEAOutpuClick);
  m.SetupDefaultSegments = item(setup, "SetupDefaultSegments", "&Revert Segment to Default...",
                                &TForm_Main::SetupDefaultSegmentsClick);
  separator(setup, "N4");
  m.SetupPortAOutput = item(setup, "SetupPortAOutput", "Port &A Output",
                            &TForm_Main::SetupPortAOutputClick);
  m.SetupPortAOutput->setVisible(false);
  m.SetupSelfSurvey = item(setup, "SetupSelfSurvey", "Self-Surve&y...", &TForm_Main::SetupSelfSurveyClick);
  m.SetupBriselSelfSurvey = item(setup, "SetupBriselSelfSurvey", "S&elf-Survey...",
                                 &TForm_Main::SetupBriselSelfSurveyClick);
  m.SetupBriselSelfSurvey->setVisible(false);
  separator(setup, "N5");
  m.SetupSerialPorts = item(setup, "SetupSerialPorts", "&Serial Ports...",
                            &TForm_Main::SetupSerialPortsClick);
  separator(setup, "N6");
  m.SetupSaveAllSegments = item(setup, "SetupSaveAllSegments", "Save &Configuration Segments",
                                &TForm_Main::SetupSaveAllSegmentsClick);
  m.SetupDefaultAllSegments = item(setup, "SetupDefaultAllSegments", "De&fault All Segments",
                                   &TForm_Main::SetupDefaultAllSegmentsClick);

  QMenu* view = m.ViewMenu = addMenu(nullptr, "ViewMenu", "&Window");
  m.WindowAddTiming = item(view, "WindowAddTiming", "Additional Timing &Packets...",
                           &TForm_Main::WindowAddTimingClick);
  m.WindowVelAndPos = item(view, "WindowVelAndPos", "&Velocity && Positioning...",
                           &TForm_Main::WindowVelAndPosClick);
  separator(view);
  m.ViewTrack = item(view, "ViewTrack", "&Track Status...", &TForm_Main::ViewTrackClick);
  m.ViewRawMeas = item(view, "ViewRawMeas", "&Raw Measurement Data...", &TForm_Main::ViewRawMeasClick);
  m.ViewEphemerisStatus = item(view, "ViewEphemerisStatus", "&Ephemeris Status...",
                               &TForm_Main::ViewEphemerisStatusClick);
  separator(view);
  m.ViewProductInfo = item(view, "ViewProductInfo", "Product &Info...", &TForm_Main::ViewProductInfoClick);
  m.ViewUtcParameters = item(view, "ViewUtcParameters", "&UTC Parameters...",
                             &TForm_Main::ViewUtcParametersClick);
  separator(view);
  m.ViewEEPROM = item(view, "ViewEEPROM", "EEPROM &Segment Status...", &TForm_Main::ViewEEPROMClick);
  m.ViewAlmanacData = item(view, "ViewAlmanacData", "&Almanac Data...", &TForm_Main::ViewAlmanacDataClick);
  m.ViewHealth = item(view, "ViewHealth", "Almanac &Health Page...", &TForm_Main::ViewHealthClick);
  m.ViewDiagnostics = item(view, "ViewDiagnostics", "&Diagnostics...", &TForm_Main::ViewDiagnosticsClick);
  m.ViewDiagnostics->setVisible(false);
  // The charts of the timing outputs, their stability and the sky.
  item(view, "WindowCharts", "&Charts...", &TForm_Main::WindowChartsClick);

  QMenu* help = m.HelpMenu = addMenu(nullptr, "HelpMenu", "&Help");
  m.HelpHelp = item(help, "HelpHelp", "&Help...", &TForm_Main::HelpHelpClick);
  m.HelpAbout = item(help, "HelpAbout", "&About...", &TForm_Main::HelpAboutClick);
}

link::BreakSequence::Hooks TForm_Main::breakHooks() {
  link::BreakSequence::Hooks h;
  h.showSplash = [this] {
    if (windows_ == nullptr || !windows_->splash) return;
    windows_->splash->FitToPicture();
    windows_->splash->show();
    windows_->splash->repaint();
  };
  h.closeSplash = [this] {
    if (windows_ != nullptr && windows_->splash) windows_->splash->close();
  };
  h.busyCursor = [this](bool busy) {
    if (busy == busyCursor_) return;
    busyCursor_ = busy;
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
  };
  h.stopBreakTimer = [this] { controls.TimerBreak->stop(); };
  h.startLinkTimer = [this] { controls.Timer_QLIP->start(); };
  h.sendVersionRequest = [this] { commands::SoftwareVersionRequest1F(context_.link); };
  h.sendSetSerialPort = [this](const link::PortSettings& s) {
    commands::SetSerialPortBC(context_.link, s);
  };
  h.applyPortSettings = [this](const link::PortSettings& s) { ApplyPortSettings(s); };
  return h;
}

bool TForm_Main::FormCreate() {
  const PortChoice& port = context_.port;
  if (context_.link.OpenLink(port.deviceName) != 0) {
    // A numbered port is named as the operator chose it; a device path in full.
    const QString what = port.numbered ? QStringLiteral("COM%1").arg(port.comPort) : port.deviceName;
    context_.prompts.message(QStringLiteral("Serial Port Error"),
                             QStringLiteral("Could not initialize %1.").arg(what),
                             PromptButtons::Ok, PromptIcon::Error);
    return false;
  }
  ShowSerialCaption(link::OpenedPortCaption(port.panelLabel));

  // Hints: every control's tool tip, mirrored into the hint panel.
  if (hintMirror_ == nullptr) {
    hintMirror_ = new HintMirror(controls.Panel_Hint, this);
    qApp->installEventFilter(hintMirror_);
  }
  setWindowTitle(port.titlePrefix + QStringLiteral(" Halvix"));

  context_.link.sendEnabled = true;
  startBreakSequence();

  menu.ViewDiagnostics->setVisible(context_.developerMode);
  return true;
}

void TForm_Main::startBreakSequence() {
  pollCycle_.startupCountdown = 5;
  breakSequence_.start(true);
  controls.TimerBreak->start();
}

void TForm_Main::restoreCursor() {
  if (!busyCursor_) return;
  busyCursor_ = false;
  QApplication::restoreOverrideCursor();
}

void TForm_Main::FormClose() {
  controls.Timer_QLIP->stop();
  controls.TimerBreak->stop();
  controls.Timer_Reconnect->stop();
  restoreCursor();
  context_.link.CloseLink();
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
  Controls& c = controls;
  // Reports already waiting are shown first.
  pollCycle_.receive();
  for (ValuePanel* p : {c.Panel_Time, c.Panel_Date, c.Panel_UTCOffset, c.Panel_TOW, c.Panel_WeekNum,
                        c.Panel_Mode, c.Panel_Status, c.Panel_Latitude, c.Panel_Longitude,
                        c.Panel_Altitude}) {
    p->clear();
  }
  for (ValuePanel* p : {c.Panel_PPSOffset, c.Panel_10MHz, c.Panel_Quantization, c.Panel_SelfSurvey}) {
    p->setLiveValue(QString());
  }
  c.Shape_PPS->setColor(QColor::fromRgb(reports::kLampIdle));
  for (Lamp* lamp : c.Shape_Bit) {
    if (lamp != nullptr) lamp->setColor(QColor::fromRgb(reports::kLampIdle));
  }
  if (!withSatellites) return;
  for (ValuePanel* p : c.Panel_SV) p->setLiveValue(QStringLiteral("0"));
  for (ValuePanel* p : c.Panel_AMU) p->setLiveValue(QStringLiteral("0.0"));
}

void TForm_Main::TimingPanelBlanking() {
  Controls& c = controls;
  for (ValuePanel* p : {c.Panel_SelfSurvey, c.Panel_PPSOffset, c.Panel_10MHz, c.Panel_Quantization}) {
    p->setValue(QString(), ValuePanel::buttonFaceColor());
  }
  c.Shape_PPS->setColor(QColor::fromRgb(reports::kLampIdle));
  for (Lamp* lamp : c.Shape_Bit) {
    if (lamp != nullptr) lamp->setColor(QColor::fromRgb(reports::kLampIdle));
  }
}

void TForm_Main::LLAToggle() { context_.display.showDegMinSec = !context_.display.showDegMinSec; }

void TForm_Main::QLIPTimer() { pollCycle_.tick(); }

void TForm_Main::TimerBreakTimer() { breakSequence_.tick(); }

void TForm_Main::LightTxLamp() { controls.Shape_TxLED->setColor(QColor::fromRgb(reports::kLampLit)); }

void TForm_Main::LightRxLamp() { controls.Shape_RxLED->setColor(QColor::fromRgb(reports::kLampLit)); }

void TForm_Main::ShowSerialCaption(const QString& caption) { controls.Panel_Serial->setText(caption); }

int TForm_Main::ApplyPortSettings(const link::PortSettings& settings) {
  // Reconfiguring the line ends a running break sequence.
  controls.TimerBreak->stop();
  return context_.link.ApplyPortSettings(settings, context_.port.panelLabel,
                                         [this](const QString& text) { ShowSerialCaption(text); });
}

void TForm_Main::onDeviceLost(const QString& message) {
  // The link has closed the device. The poll tick keeps running without it, so
  // the watchdogs blank the panels as for a silent receiver.
  if (!context_.link.lost()) return;
  controls.TimerBreak->stop();
  restoreCursor();
  ShowSerialCaption(QStringLiteral("Disconnected %1").arg(context_.port.panelLabel));
  qInfo().noquote() << QStringLiteral("Serial port: %1 disconnected; trying to open it again every %2 s")
                           .arg(context_.link.deviceName())
                           .arg(kReconnectIntervalMs / 1000);
  controls.Timer_Reconnect->start();
  // One box per run: a cable that comes and goes is told by the status bar.
  if (deviceLostShown_) return;
  deviceLostShown_ = true;
  context_.prompts.message(QStringLiteral("Serial Port Error"), message, PromptButtons::Ok,
                           PromptIcon::Error);
}

void TForm_Main::ReconnectTimer() {
  if (!context_.link.lost()) {
    controls.Timer_Reconnect->stop();
    return;
  }
  if (context_.link.ReopenLink() != 0) return;
  controls.Timer_Reconnect->stop();
  qInfo().noquote() << QStringLiteral("Serial port: %1 is back; negotiating the line again")
                           .arg(context_.link.deviceName());
  ShowSerialCaption(link::OpenedPortCaption(context_.port.panelLabel));
  // As at start-up: BREAK, the settings line, then routine polling.
  controls.Timer_QLIP->stop();
  startBreakSequence();
}

void TForm_Main::onInputOverflow(std::uint64_t total) {
  controls.Panel_Hint->setText(
      QStringLiteral("Input overflow: %1 bytes dropped").arg(static_cast<qulonglong>(total)));
}

void TForm_Main::ShowWindow(QWidget* window) {
  if (window == nullptr) return;
  window->show();
  window->raise();
  window->activateWindow();
}

// PollCycleView.
bool TForm_Main::txLampGreen() const { return controls.Shape_TxLED->is(reports::kLampLit); }

void TForm_Main::greyTxLamp() {
  controls.Shape_TxLED->setColor(QColor::fromRgb(reports::kLampIdle));
  controls.Shape_TxLED->repaint();
}

bool TForm_Main::rxLampGreen() const { return controls.Shape_RxLED->is(reports::kLampLit); }

void TForm_Main::greyRxLamp() {
  controls.Shape_RxLED->setColor(QColor::fromRgb(reports::kLampIdle));
  controls.Shape_RxLED->repaint();
}

bool TForm_Main::pollTimingPackets() const { return menu.ControlPollingTimingPkts->isChecked(); }

void TForm_Main::displayReset(bool withSatellites) { DisplayReset(withSatellites); }

void TForm_Main::timingPanelBlanking() { TimingPanelBlanking(); }

void TForm_Main::ageSatelliteRows() {
  if (hooks.ageSatelliteRows) hooks.ageSatelliteRows();
}

tools::ControlHooks ControlHooksOf(TForm_Main& main) {
  tools::ControlHooks h;
  h.displayReset = [&main](bool withSatellites) { main.DisplayReset(withSatellites); };
  h.applyPortSettings = [&main](const link::PortSettings& s) { return main.ApplyPortSettings(s); };
  return h;
}

namespace {

tools::ControlActions actionsOf(TForm_Main& main) {
  AppContext& c = main.context();
  return tools::ControlActions(c.link, c.clock, c.prompts, ControlHooksOf(main));
}

}  // namespace

// Control menu.
void TForm_Main::ControlColdClick() { actionsOf(*this).ColdReset(); }
void TForm_Main::ControlWarmClick() { actionsOf(*this).WarmReset(); }
void TForm_Main::ControlFactoryResetClick() { actionsOf(*this).FactoryResetAll(); }
void TForm_Main::FactoryResetNavagationDataClick() { actionsOf(*this).FactoryResetNavigation(); }
void TForm_Main::FactoryResetConfigParamsClick() { actionsOf(*this).FactoryResetConfiguration(); }
void TForm_Main::ControlSelfSurveyClick() { actionsOf(*this).RestartSelfSurvey(); }
void TForm_Main::ControlUploadPosClick() { ShowWindow(windows_ ? windows_->initialPos.get() : nullptr); }
void TForm_Main::ControlUploadTimeClick() { ShowWindow(windows_ ? windows_->initialTime.get() : nullptr); }
namespace {

// An almanac transfer owns the link while it runs: the link timer is
// stopped (and restored as it was), the log window shown and painted as the
// lines come.
bool RunAlmanacTransfer(TForm_Main& main, bool download, const QString& fileName) {
  Windows* w = main.windows();
  tools::TForm_Alm* log = w != nullptr ? w->alm.get() : nullptr;
  QTimer* timer = main.controls.Timer_QLIP;
  const bool wasPolling = timer->isActive();
  tools::SystemDataTransfer::Hooks hooks;
  hooks.log = [log](const QString& line) {
    if (log == nullptr) return;
    log->AppendLog(line);
    tools::TForm_Alm::PaintNow();
  };
  hooks.begin = [timer, log] {
    timer->stop();
    if (log != nullptr) {
      log->show();
      log->raise();
      tools::TForm_Alm::PaintNow();
    }
  };
  hooks.end = [timer, wasPolling] {
    if (wasPolling) timer->start();
  };
  hooks.packetSeen = [&main] { main.LightRxLamp(); };
  tools::SystemDataTransfer transfer(main.context().link, std::move(hooks));
  return download ? transfer.DownloadSystemData(fileName) : transfer.UploadSystemData(fileName);
}

void AlmanacCommand(TForm_Main& main, bool download) {
  OperatorPrompts& prompts = main.context().prompts;
  QString name = prompts.chooseAlmanacFile(
      download, download ? QStringLiteral("Download Almanac") : QStringLiteral("Upload Almanac"));
  if (name.trimmed().isEmpty()) return;
  const QFileInfo info(name);
  if (download && info.suffix().isEmpty() && !info.exists()) name += QStringLiteral(".dat");
  if (!RunAlmanacTransfer(main, download, name)) {
    prompts.message(QStringLiteral("Failure"), QStringLiteral("Almanac download failed."),
                    PromptButtons::Ok, PromptIcon::Exclamation);
  }
}

}  // namespace

void TForm_Main::ControlUploadAlmanacClick() { AlmanacCommand(*this, false); }
void TForm_Main::ControlDownloadAlmanacClick() { AlmanacCommand(*this, true); }
void TForm_Main::ControlDownloadPosClick() { context_.display.downloadPositionPending = true; }
void TForm_Main::ControlTimeToPCClick() {
  // The next time report in use serves the request.
  commands::TimeRequest21(context_.link);
  context_.display.timeToPcPending = true;
}
void TForm_Main::ControlPollingTimingPktsClick() { TogglePollTimingPackets(*this); }
void TForm_Main::RecTypeCvlClick() { ApplyReceiverType(*this, kCorvel); }
void TForm_Main::RecTypeCvlNordenClick() { ApplyReceiverType(*this, kCorvelNorden); }
void TForm_Main::RecTypeCvlPellamClick() { ApplyReceiverType(*this, kCorvelPellam); }
void TForm_Main::RecTypeCvlCVL2Click() { ApplyReceiverType(*this, kCorvelCvl2); }
void TForm_Main::RecTypeBriselClick() { ApplyReceiverType(*this, kBrisel); }
// Dolvo UTC is listed but has no configuration of its own: choosing it does nothing.
void TForm_Main::RecTypeDolvoUTCClick() {}
void TForm_Main::ControlRecordQlipClick() { ShowWindow(windows_ ? windows_->logQlip.get() : nullptr); }
void TForm_Main::Control_PacketsOnClick() {
  commands::SetPacketBroadcastMask8EA5(context_.link, 0x32, 0xE1);
}
// The SI codes are developer tools: outside developer mode their keys do nothing.
void TForm_Main::Control_SICode6Click() {
  if (context_.developerMode) commands::SiCodeCommand8EAF(context_.link, 6);
}
void TForm_Main::Control_SICode8Click() {
  if (context_.developerMode) commands::SiCodeCommand8EAF(context_.link, 8);
}
void TForm_Main::Control_SICode9Click() {
  if (context_.developerMode) commands::SiCodeCommand8EAF(context_.link, 9);
}

// Setup menu: all but the two segment-wide items only open a window.
void TForm_Main::SetupGPSClick() { ShowWindow(windows_ ? windows_->gps.get() : nullptr); }
void TForm_Main::SetupOneSVModeClick() { ShowWindow(windows_ ? windows_->svNum.get() : nullptr); }
void TForm_Main::Setup2DAltModeClick() { ShowWindow(windows_ ? windows_->altitude.get() : nullptr); }
void TForm_Main::SetupIOClick() { ShowWindow(windows_ ? windows_->packetMasks.get() : nullptr); }
void TForm_Main::SetupPortBOutputClick() { ShowWindow(windows_ ? windows_->autoOut.get() : nullptr); }
void TForm_Main::SetupTimingClick() { ShowWindow(windows_ ? windows_->timingOut.get() : nullptr); }
void TForm_Main::SetupDatumClick() { ShowWindow(windows_ ? windows_->datum.get() : nullptr); }
void TForm_Main::SetupNMEAOutpuClick() { ShowWindow(windows_ ? windows_->nmea.get() : nullptr); }
void TForm_Main::SetupDefaultSegmentsClick() {
  ShowWindow(windows_ ? windows_->defaultSettings.get() : nullptr);
}
void TForm_Main::SetupPortAOutputClick() {
  ShowWindow(windows_ ? windows_->briselPortAOut.get() : nullptr);
}
void TForm_Main::SetupSelfSurveyClick() { ShowWindow(windows_ ? windows_->selfSurvey.get() : nullptr); }
void TForm_Main::SetupBriselSelfSurveyClick() {
  ShowWindow(windows_ ? windows_->briselSurvey.get() : nullptr);
}
void TForm_Main::SetupSerialPortsClick() { ShowWindow(windows_ ? windows_->serial.get() : nullptr); }
void TForm_Main::SetupSaveAllSegmentsClick() { actionsOf(*this).SaveAllSegments(); }
void TForm_Main::SetupDefaultAllSegmentsClick() { actionsOf(*this).DefaultAllSegments(); }

// Window menu.
void TForm_Main::WindowAddTimingClick() { ShowWindow(windows_ ? windows_->addTiming.get() : nullptr); }
void TForm_Main::WindowVelAndPosClick() { ShowWindow(windows_ ? windows_->velPos.get() : nullptr); }
void TForm_Main::ViewTrackClick() { ShowWindow(windows_ ? windows_->track.get() : nullptr); }
void TForm_Main::ViewRawMeasClick() { ShowWindow(windows_ ? windows_->rawMeas.get() : nullptr); }
void TForm_Main::ViewEphemerisStatusClick() {
  ShowWindow(windows_ ? windows_->ephemStat.get() : nullptr);
}
void TForm_Main::ViewProductInfoClick() { ShowWindow(windows_ ? windows_->product.get() : nullptr); }
void TForm_Main::ViewUtcParametersClick() { ShowWindow(windows_ ? windows_->utcParam.get() : nullptr); }
void TForm_Main::ViewEEPROMClick() { ShowWindow(windows_ ? windows_->eeprom.get() : nullptr); }
void TForm_Main::ViewAlmanacDataClick() {
  ShowWindow(windows_ ? windows_->almanacData.get() : nullptr);
}
void TForm_Main::ViewHealthClick() { ShowWindow(windows_ ? windows_->almHealth.get() : nullptr); }
void TForm_Main::ViewDiagnosticsClick() {
  // The status-bar lamps reach the test window only in developer mode.
  if (!context_.developerMode) return;
  ShowWindow(windows_ ? windows_->diagnostics.get() : nullptr);
}

void TForm_Main::HelpHelpClick() { context_.prompts.showHelp(); }
void TForm_Main::WindowChartsClick() { ShowWindow(windows_ ? windows_->charts.get() : nullptr); }

void TForm_Main::HelpAboutClick() { ShowWindow(windows_ ? windows_->about.get() : nullptr); }

}  // namespace halvix::app
