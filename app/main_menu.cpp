// The main window's menu frame, built from one table of rows: a row names the
// window its item opens, or the handler of an item that does more.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <vector>

#include "app/main_window.h"
#include "app/receiver_types.h"
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
#include "reports/add_timing_window.h"
#include "reports/charts_window.h"
#include "reports/ephem_stat_window.h"
#include "reports/product_window.h"
#include "reports/raw_meas_window.h"
#include "reports/track_window.h"
#include "reports/utc_param_window.h"
#include "reports/vel_pos_window.h"
#include "tools/about_window.h"
#include "tools/alm_health_window.h"
#include "tools/alm_window.h"
#include "tools/almanac_data_window.h"
#include "tools/almanac_transfer.h"
#include "tools/control_actions.h"
#include "tools/diagnostics_window.h"
#include "tools/eeprom_window.h"
#include "tools/log_qlip_window.h"
#include "tools/message_window.h"

namespace halvix::app {

namespace {

using Items = TForm_Main::MenuItems;
using Handler = void (TForm_Main::*)();
// The run's window an item opens.
using WindowOf = QWidget* (*)(Windows&);

template <auto member>
QWidget* Win(Windows& w) {
  return (w.*member).get();
}
// A window outside the start-up set, made when its item is first chosen.
template <typename W>
QWidget* Made(Windows& w) {
  return w.made<W>();
}

// One row of the menu frame. Rows come in menu order; a Menu row opens a
// (sub)menu that its End row closes.
struct MenuRow {
  enum Kind { Menu, End, Item, Check, Hidden, Separator } kind;
  const char* name;     // objectName
  const char* caption;  // as shown, with its accelerator
  Handler handler;
  QAction* Items::*action = nullptr;  // where the item is kept
  QMenu* Items::*menu = nullptr;      // where a Menu row's menu is kept
  int key = 0;                        // shortcut, 0 for none
  bool shown = true;                  // hidden until a receiver type or a mode shows it
  WindowOf window = nullptr;          // the window the item opens, instead of a handler
};

constexpr MenuRow Open(const char* name, const char* caption, QMenu* Items::*slot) {
  return {MenuRow::Menu, name, caption, nullptr, nullptr, slot};
}
constexpr MenuRow End() { return {MenuRow::End, nullptr, nullptr, nullptr}; }
constexpr MenuRow Do(const char* name, const char* caption, Handler handler, QAction* Items::*slot,
                     int key = 0) {
  return {MenuRow::Item, name, caption, handler, slot, nullptr, key};
}
// Opens a window of the run.
constexpr MenuRow Show(const char* name, const char* caption, WindowOf window, QAction* Items::*slot,
                       bool shown = true) {
  return {MenuRow::Item, name, caption, nullptr, slot, nullptr, 0, shown, window};
}
// Shown only once something asks for it.
constexpr MenuRow Later(const char* name, const char* caption, Handler handler, QAction* Items::*slot) {
  return {MenuRow::Item, name, caption, handler, slot, nullptr, 0, false};
}
constexpr MenuRow ShowLater(const char* name, const char* caption, WindowOf window, QAction* Items::*slot) {
  return Show(name, caption, window, slot, false);
}
constexpr MenuRow Checked(const char* name, const char* caption, Handler handler,
                          QAction* Items::*slot) {
  return {MenuRow::Check, name, caption, handler, slot};
}
// Never shown; reached by its key alone.
constexpr MenuRow Key(const char* name, const char* caption, Handler handler, QAction* Items::*slot,
                      int key) {
  return {MenuRow::Hidden, name, caption, handler, slot, nullptr, key, false};
}
constexpr MenuRow Line(const char* name = nullptr, QAction* Items::*slot = nullptr) {
  return {MenuRow::Separator, name, nullptr, nullptr, slot};
}

using M = TForm_Main;
constexpr int kCtrl = static_cast<int>(Qt::CTRL);

constexpr MenuRow kMenuFrame[] = {
    Open("ControlMenu", "&Control", &Items::ControlMenu),
      Do("ControlCold", "&Cold Reset", &M::ControlColdClick, &Items::ControlCold, kCtrl | Qt::Key_K),
      Do("ControlWarm", "&Warm Reset", &M::ControlWarmClick, &Items::ControlWarm, kCtrl | Qt::Key_R),
      Open("ControlFactoryReset", "&Factory Reset", &Items::ControlFactoryReset),
        Do("FactoryResetAllParams", "&All Data and Parameters", &M::ControlFactoryResetClick,
           &Items::FactoryResetAllParams),
        Do("FactoryResetNavagationData", "&Navigation Data", &M::FactoryResetNavagationDataClick,
           &Items::FactoryResetNavagationData),
        Do("FactoryResetConfigParams", "&Configuration Parameters", &M::FactoryResetConfigParamsClick,
           &Items::FactoryResetConfigParams),
      End(),
      Do("ControlSelfSurvey", "Restart &Self-Survey", &M::ControlSelfSurveyClick, &Items::ControlSelfSurvey),
      Line(),
      Show("ControlUploadPos", "Upload &Position...", Win<&Windows::initialPos>, &Items::ControlUploadPos),
      Show("ControlUploadTime", "Upload &Time From PC...", Win<&Windows::initialTime>, &Items::ControlUploadTime),
      Line(),
      Do("ControlUploadAlmanac", "&Upload Almanac...", &M::ControlUploadAlmanacClick,
         &Items::ControlUploadAlmanac),
      Do("ControlDownloadAlmanac", "&Download Almanac...", &M::ControlDownloadAlmanacClick,
         &Items::ControlDownloadAlmanac),
      Line(),
      Do("ControlDownloadPos", "D&ownload Position...", &M::ControlDownloadPosClick, &Items::ControlDownloadPos),
      Do("ControlTimeToPC", "Down&load Time To PC", &M::ControlTimeToPCClick, &Items::ControlTimeToPC),
      Line(),
      Checked("ControlPollingTimingPkts", "Poll Timing P&ackets", &M::ControlPollingTimingPktsClick,
              &Items::ControlPollingTimingPkts),
      Open("ControlRecType", "C&hange Receiver Type", &Items::ControlRecType),
        Checked("RecTypeCvl", "&Corvel", &M::RecTypeCvlClick, &Items::RecTypeCvl),
        Checked("RecTypeCvlNorden", "Corvel &Norden", &M::RecTypeCvlNordenClick, &Items::RecTypeCvlNorden),
        Checked("RecTypeCvlPellam", "Corvel &Pellam", &M::RecTypeCvlPellamClick, &Items::RecTypeCvlPellam),
        Checked("RecTypeCvlCVL2", "Corvel Corvel II Compa&tible", &M::RecTypeCvlCVL2Click,
                &Items::RecTypeCvlCVL2),
        Checked("RecTypeBrisel", "&Brisel", &M::RecTypeBriselClick, &Items::RecTypeBrisel),
        Checked("RecTypeDolvoUTC", "Dolvo &UTC", &M::RecTypeDolvoUTCClick, &Items::RecTypeDolvoUTC),
      End(),
      Line(),
      Show("ControlRecordQlip", "&Record QLIP...", Win<&Windows::logQlip>, &Items::ControlRecordQlip),
      Do("ControlReplayRecording", "Re&play Recording...", &M::ControlReplayRecordingClick,
         &Items::ControlReplayRecording),
      Key("ControlBackdoor", "Backdoor", nullptr, &Items::ControlBackdoor, Qt::Key_F1),
      Key("Control_PacketsOn", "Packets On", &M::Control_PacketsOnClick, &Items::Control_PacketsOn, Qt::Key_F2),
      Key("Control_SICode6", "SI Code 6", &M::Control_SICode6Click, &Items::Control_SICode6, Qt::Key_F6),
      Key("Control_SICode8", "SI Code 8", &M::Control_SICode8Click, &Items::Control_SICode8, Qt::Key_F8),
      Key("Control_SICode9", "SI Code 9", &M::Control_SICode9Click, &Items::Control_SICode9, Qt::Key_F9),
    End(),

    Open("SetupMenu", "&Setup", &Items::SetupMenu),
      Show("SetupGPS", "&GPS Settings...", Win<&Windows::gps>, &Items::SetupGPS),
      Show("SetupOneSVMode", "S&V for 1 Satellite Mode...", Win<&Windows::svNum>, &Items::SetupOneSVMode),
      Show("Setup2DAltMode", "Altitude for &2D Mode...", Win<&Windows::altitude>, &Items::Setup2DAltMode),
      Line("N1"),
      Show("SetupIO", "&Packet Masks and Options...", Win<&Windows::packetMasks>, &Items::SetupIO),
      Show("SetupPortBOutput", "Port &B Output...", Win<&Windows::autoOut>, &Items::SetupPortBOutput),
      Show("SetupTiming", "&Timing Outputs...", Win<&Windows::timingOut>, &Items::SetupTiming),
      Line("N2"),
      Show("SetupDatum", "&Datum...", Win<&Windows::datum>, &Items::SetupDatum),
      Line("N3", &Items::N3),
      Show("SetupNMEAOutpu", "&NMEA Output...", Win<&Windows::nmea>, &Items::SetupNMEAOutpu),
      Show("SetupDefaultSegments", "&Revert Segment to Default...", Win<&Windows::defaultSettings>,
         &Items::SetupDefaultSegments),
      Line("N4"),
      ShowLater("SetupPortAOutput", "Port &A Output", Win<&Windows::briselPortAOut>, &Items::SetupPortAOutput),
      Show("SetupSelfSurvey", "Self-Surve&y...", Win<&Windows::selfSurvey>, &Items::SetupSelfSurvey),
      ShowLater("SetupBriselSelfSurvey", "S&elf-Survey...", Win<&Windows::briselSurvey>,
            &Items::SetupBriselSelfSurvey),
      Line("N5"),
      Show("SetupSerialPorts", "&Serial Ports...", Win<&Windows::serial>, &Items::SetupSerialPorts),
      Line("N6"),
      Do("SetupSaveAllSegments", "Save &Configuration Segments", &M::SetupSaveAllSegmentsClick,
         &Items::SetupSaveAllSegments),
      Do("SetupDefaultAllSegments", "De&fault All Segments", &M::SetupDefaultAllSegmentsClick,
         &Items::SetupDefaultAllSegments),
    End(),

    Open("ViewMenu", "&Window", &Items::ViewMenu),
      Show("WindowAddTiming", "Additional Timing &Packets...", Win<&Windows::addTiming>, &Items::WindowAddTiming),
      Show("WindowVelAndPos", "&Velocity && Positioning...", Win<&Windows::velPos>, &Items::WindowVelAndPos),
      Line(),
      Show("ViewTrack", "&Track Status...", Win<&Windows::track>, &Items::ViewTrack),
      Show("ViewRawMeas", "&Raw Measurement Data...", Win<&Windows::rawMeas>, &Items::ViewRawMeas),
      Show("ViewEphemerisStatus", "&Ephemeris Status...", Win<&Windows::ephemStat>, &Items::ViewEphemerisStatus),
      Line(),
      Show("ViewProductInfo", "Product &Info...", Win<&Windows::product>, &Items::ViewProductInfo),
      Show("ViewUtcParameters", "&UTC Parameters...", Win<&Windows::utcParam>, &Items::ViewUtcParameters),
      Line(),
      Show("ViewEEPROM", "EEPROM &Segment Status...", Win<&Windows::eeprom>, &Items::ViewEEPROM),
      Show("ViewAlmanacData", "&Almanac Data...", Win<&Windows::almanacData>, &Items::ViewAlmanacData),
      Show("ViewHealth", "Almanac &Health Page...", Win<&Windows::almHealth>, &Items::ViewHealth),
      Later("ViewDiagnostics", "&Diagnostics...", &M::ViewDiagnosticsClick, &Items::ViewDiagnostics),
      Line(),
      // The charts of the timing outputs, their stability and the sky.
      Show("WindowCharts", "&Charts...", Win<&Windows::charts>, nullptr),
    End(),

    Open("HelpMenu", "&Help", &Items::HelpMenu),
      Do("HelpHelp", "&Help...", &M::HelpHelpClick, &Items::HelpHelp),
      Show("HelpAbout", "&About...", Win<&Windows::about>, &Items::HelpAbout),
    End(),
};

}  // namespace

void TForm_Main::buildMenus() {
  menu.MainMenu_Main = menuBar();
  menu.MainMenu_Main->setObjectName(QStringLiteral("MainMenu_Main"));
  std::vector<QMenu*> open;
  for (const MenuRow& row : kMenuFrame) {
    const QString name = QString::fromLatin1(row.name != nullptr ? row.name : "");
    const QString caption = QString::fromUtf8(row.caption != nullptr ? row.caption : "");
    QAction* a = nullptr;
    switch (row.kind) {
      case MenuRow::Menu: {
        QMenu* sub = open.empty() ? menu.MainMenu_Main->addMenu(caption) : open.back()->addMenu(caption);
        sub->setObjectName(name);
        sub->menuAction()->setObjectName(name);
        menu.*row.menu = sub;
        open.push_back(sub);
        continue;
      }
      case MenuRow::End: open.pop_back(); continue;
      case MenuRow::Separator: a = open.back()->addSeparator(); break;
      case MenuRow::Item:
      case MenuRow::Hidden:
        a = open.back()->addAction(caption);
        if (row.key != 0) a->setShortcut(QKeySequence(row.key));
        if (row.handler != nullptr) connect(a, &QAction::triggered, this, row.handler);
        if (row.window != nullptr) {
          a->setData(QVariant::fromValue(static_cast<int>(&row - kMenuFrame)));
          connect(a, &QAction::triggered, this, [this, a] { OpenWindowOf(a); });
        }
        break;
      case MenuRow::Check: {
        a = open.back()->addAction(caption);
        a->setCheckable(true);
        // Check marks belong to the handlers (a choice may be refused), so the
        // automatic toggle is undone before the handler runs.
        const Handler handler = row.handler;
        connect(a, &QAction::triggered, this, [this, a, handler](bool checked) {
          a->setChecked(!checked);
          (this->*handler)();
        });
        break;
      }
    }
    if (!name.isEmpty()) a->setObjectName(name);
    if (!row.shown) a->setVisible(false);
    // A hidden item's shortcut is disabled with it, so its key gets a
    // window-wide shortcut of its own.
    if (row.kind == MenuRow::Hidden && row.handler != nullptr) {
      auto* shortcut = new QShortcut(QKeySequence(row.key), this);
      shortcut->setObjectName(name + QStringLiteral("Key"));
      connect(shortcut, &QShortcut::activated, this, row.handler);
    }
    if (row.action != nullptr) menu.*row.action = a;
  }
}

void TForm_Main::OpenWindowOf(const QAction* item) {
  bool ok = false;
  const int row = item->data().toInt(&ok);
  if (!ok || row < 0 || row >= static_cast<int>(std::size(kMenuFrame))) return;
  const WindowOf window = kMenuFrame[row].window;
  if (window != nullptr && windows_ != nullptr) ShowWindow(window(*windows_));
}

template <typename W>
void TForm_Main::OpenWindow(std::unique_ptr<W> Windows::*window) {
  if (windows_ != nullptr) ShowWindow((windows_->*window).get());
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
namespace {

// An almanac transfer owns the link while it runs: the session's poll cycle
// is held (and goes on where it stopped), the log window shown and painted as
// the lines come.
bool RunAlmanacTransfer(TForm_Main& main, bool download, const QString& fileName) {
  Windows* w = main.windows();
  tools::TForm_Alm* log = w != nullptr ? w->alm.get() : nullptr;
  session::ReceiverSession& session = main.session();
  const bool wasHeld = session.pollingHeld();
  tools::SystemDataTransfer::Hooks hooks;
  hooks.log = [log](const QString& line) {
    if (log == nullptr) return;
    log->AppendLog(line);
    tools::TForm_Alm::PaintNow();
  };
  hooks.begin = [&session, log] {
    session.holdPolling(true);
    if (log != nullptr) {
      log->show();
      log->raise();
      tools::TForm_Alm::PaintNow();
    }
  };
  hooks.end = [&session, wasHeld] { session.holdPolling(wasHeld); };
  hooks.packetSeen = [&main] { main.LightRxLamp(); };
  tools::SystemDataTransfer transfer(main.context().link, std::move(hooks));
  return download ? transfer.DownloadSystemData(fileName) : transfer.UploadSystemData(fileName);
}

void AlmanacCommand(TForm_Main& main, bool download) {
  platform::OperatorPrompts& prompts = main.context().prompts;
  QString name = prompts.chooseAlmanacFile(
      download, download ? QStringLiteral("Download Almanac") : QStringLiteral("Upload Almanac"));
  if (name.trimmed().isEmpty()) return;
  const QFileInfo info(name);
  if (download && info.suffix().isEmpty() && !info.exists()) name += QStringLiteral(".dat");
  if (!RunAlmanacTransfer(main, download, name)) {
    prompts.message(QStringLiteral("Failure"), QStringLiteral("Almanac download failed."),
                    platform::PromptButtons::Ok, platform::PromptIcon::Exclamation);
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
void TForm_Main::ControlReplayRecordingClick() {
  const QString file = context_.prompts.openFileName(
      QStringLiteral("Replay Recording"), QStringLiteral("QLIP Recordings (*.qlp);;All Files (*.*)"));
  if (!file.isEmpty() && hooks.openReplay) hooks.openReplay(file);
}
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

// Setup menu.
void TForm_Main::SetupSaveAllSegmentsClick() { actionsOf(*this).SaveAllSegments(); }
void TForm_Main::SetupDefaultAllSegmentsClick() { actionsOf(*this).DefaultAllSegments(); }

// Window menu.
void TForm_Main::ViewDiagnosticsClick() {
  // The status-bar lamps reach the test window only in developer mode.
  if (!context_.developerMode) return;
  OpenWindow(&Windows::diagnostics);
}


void TForm_Main::HelpHelpClick() { context_.prompts.showHelp(); }

}  // namespace halvix::app
