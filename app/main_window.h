// TForm_Main: the main window with its status bar, menus and the receiver
// state panels (time, position, timing outputs, mode and status, minor
// alarms, satellite table). It is a view of the receiver session: it shows
// what the session reports (line caption, negotiation, ticks, a lost device)
// and sends through the session's link. Decoders reach its controls through
// the typed pointers of `controls` and `menu`.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/app_context.h"
#include "link/port_settings.h"
#include "link/report_dispatcher.h"
#include "reports/main_view.h"
#include "session/receiver_session.h"
#include "tools/control_actions.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace halvix::widgets {
class CaptionLabel;
class GroupPanel;
class Lamp;
class ValuePanel;
}  // namespace halvix::widgets

namespace halvix::app {

struct Windows;

class TForm_Main : public QMainWindow, public reports::MainView, private session::SessionObserver {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 470;
  static constexpr int kClientHeight = 385;
  static constexpr int kHintPauseMs = 500;
  static constexpr int kHintHidePauseMs = 5000;
  // Bits of the minor-alarm word; bits 0, 4 and 12 to 15 have no lamp.
  static constexpr int kAlarmBits = 16;

  using ValuePanel = widgets::ValuePanel;
  using Lamp = widgets::Lamp;
  using GroupPanel = widgets::GroupPanel;
  using CaptionLabel = widgets::CaptionLabel;

  struct Controls {
    // Groups; their hint names the report that last filled them.
    GroupPanel* Panel_Timing = nullptr;
    GroupPanel* Panel_Position = nullptr;
    GroupPanel* Panel_TimingOutputs = nullptr;
    GroupPanel* Panel_ModeAndStatus = nullptr;
    GroupPanel* Panel_MinorAlarms = nullptr;
    GroupPanel* Panel_SVData = nullptr;

    // "Time:"
    ValuePanel* Panel_Time = nullptr;
    ValuePanel* Panel_UTCOffset = nullptr;
    ValuePanel* Panel_TOW = nullptr;
    ValuePanel* Panel_WeekNum = nullptr;
    ValuePanel* Panel_Date = nullptr;
    QLabel* Label_TimeType = nullptr;

    // "Position:"
    ValuePanel* Panel_Latitude = nullptr;
    ValuePanel* Panel_Longitude = nullptr;
    ValuePanel* Panel_Altitude = nullptr;
    ValuePanel* Panel_SelfSurvey = nullptr;
    CaptionLabel* Label_SelfSurvey = nullptr;

    // "Timing Outputs:"
    ValuePanel* Panel_PPSOffset = nullptr;
    ValuePanel* Panel_10MHz = nullptr;
    ValuePanel* Panel_Quantization = nullptr;
    Lamp* Shape_PPS = nullptr;

    // "Mode and Status:"
    ValuePanel* Panel_Mode = nullptr;
    ValuePanel* Panel_Status = nullptr;

    // "Minor Alarms:", indexed by alarm bit; null where a bit has no lamp.
    std::array<Lamp*, kAlarmBits> Shape_Bit{};
    std::array<CaptionLabel*, kAlarmBits> Label_MA{};

    // "SV Data:", rows 1..12 at index 0..11.
    std::array<ValuePanel*, 12> Panel_SV{};
    std::array<ValuePanel*, 12> Panel_AMU{};

    // Group titles that open a window when clicked.
    CaptionLabel* Label_TimingOutputsTitle = nullptr;
    CaptionLabel* Label_ModeAndStatusTitle = nullptr;
    CaptionLabel* Label_SVDataTitle = nullptr;

    // Status bar.
    GroupPanel* Panel_TxRx = nullptr;
    Lamp* Shape_TxLED = nullptr;
    Lamp* Shape_RxLED = nullptr;
    ValuePanel* Panel_Hint = nullptr;
    ValuePanel* Panel_Version = nullptr;
    ValuePanel* Panel_Serial = nullptr;
  };

  struct MenuItems {
    QMenuBar* MainMenu_Main = nullptr;

    QMenu* ControlMenu = nullptr;
    QAction* ControlCold = nullptr;
    QAction* ControlWarm = nullptr;
    QMenu* ControlFactoryReset = nullptr;
    QAction* FactoryResetAllParams = nullptr;
    QAction* FactoryResetNavagationData = nullptr;
    QAction* FactoryResetConfigParams = nullptr;
    QAction* ControlSelfSurvey = nullptr;
    QAction* ControlUploadPos = nullptr;
    QAction* ControlUploadTime = nullptr;
    QAction* ControlUploadAlmanac = nullptr;
    QAction* ControlDownloadAlmanac = nullptr;
    QAction* ControlDownloadPos = nullptr;
    QAction* ControlTimeToPC = nullptr;
    QAction* ControlPollingTimingPkts = nullptr;
    QMenu* ControlRecType = nullptr;
    QAction* RecTypeCvl = nullptr;
    QAction* RecTypeCvlNorden = nullptr;
    QAction* RecTypeCvlPellam = nullptr;
    QAction* RecTypeCvlCVL2 = nullptr;
    QAction* RecTypeBrisel = nullptr;
    QAction* RecTypeDolvoUTC = nullptr;
    QAction* ControlRecordQlip = nullptr;
    QAction* ControlReplayRecording = nullptr;
    QAction* ControlBackdoor = nullptr;
    QAction* Control_PacketsOn = nullptr;
    QAction* Control_SICode6 = nullptr;
    QAction* Control_SICode8 = nullptr;
    QAction* Control_SICode9 = nullptr;

    QMenu* SetupMenu = nullptr;
    QAction* SetupGPS = nullptr;
    QAction* SetupOneSVMode = nullptr;
    QAction* Setup2DAltMode = nullptr;
    QAction* SetupIO = nullptr;
    QAction* SetupPortBOutput = nullptr;
    QAction* SetupTiming = nullptr;
    QAction* SetupDatum = nullptr;
    QAction* N3 = nullptr;
    QAction* SetupNMEAOutpu = nullptr;
    QAction* SetupDefaultSegments = nullptr;
    QAction* SetupPortAOutput = nullptr;
    QAction* SetupSelfSurvey = nullptr;
    QAction* SetupBriselSelfSurvey = nullptr;
    QAction* SetupSerialPorts = nullptr;
    QAction* SetupSaveAllSegments = nullptr;
    QAction* SetupDefaultAllSegments = nullptr;

    QMenu* ViewMenu = nullptr;
    QAction* WindowAddTiming = nullptr;
    QAction* WindowVelAndPos = nullptr;
    QAction* ViewTrack = nullptr;
    QAction* ViewRawMeas = nullptr;
    QAction* ViewEphemerisStatus = nullptr;
    QAction* ViewProductInfo = nullptr;
    QAction* ViewUtcParameters = nullptr;
    QAction* ViewEEPROM = nullptr;
    QAction* ViewAlmanacData = nullptr;
    QAction* ViewHealth = nullptr;
    QAction* ViewDiagnostics = nullptr;

    QMenu* HelpMenu = nullptr;
    QAction* HelpHelp = nullptr;
    QAction* HelpAbout = nullptr;
  };

  // Where later features plug into the window's events.
  struct Hooks {
    // Ages the satellite rows once per poll round.
    std::function<void()> ageSatelliteRows;
    // Sets the diagnostics test's testPort to 0 when a receiver type is
    // applied in developer mode. HOOK: left empty until the diagnostics
    // window has its test port.
    std::function<void()> resetDiagnosticsTestPort;
    // Plays a recording back (in a window of its own). Empty: the menu item
    // only asks for the file.
    std::function<void(const QString& fileName)> openReplay;
    // Run by FormDestroy, e.g. to close the recording file.
    std::vector<std::function<void()>> destroy;
  };

  // The session outlives the window; context.link is the session's link.
  TForm_Main(AppContext& context, session::ReceiverSession& session, QWidget* parent = nullptr);
  ~TForm_Main() override;

  void setWindows(Windows* windows) { windows_ = windows; }
  Windows* windows() const { return windows_; }
  AppContext& context() const { return context_; }
  session::ReceiverSession& session() const { return session_; }
  link::ReportDispatcher& dispatcher() { return session_.dispatcher(); }

  Controls controls;
  MenuItems menu;
  Hooks hooks;

  // Starts the session: opens the link and starts the break sequence. False
  // when the port could not be opened (the operator has been told); the
  // caller then destroys the window and ends the run.
  bool FormCreate();
  // Stops the session, which closes the link (the window's close event).
  void FormClose();
  // Runs the destroy hooks once (also run by the destructor).
  void FormDestroy();

  // Blanks the time, position, mode and status panels, the timing panels
  // (window colour) and the lamps; with withSatellites the twelve SV rows too.
  void DisplayReset(bool withSatellites);
  // Greys out the panels fed only by the timing packets, and their lamps.
  void TimingPanelBlanking();
  // Latitude/longitude style toggle: decimal degrees or deg/min/sec.
  void LLAToggle();

  // The lamps lit by a sent and a received packet.
  void LightTxLamp();
  void LightRxLamp();

  // The replay's position and state in the hint panel; once a command has
  // gone nowhere, Panel_Serial says so.
  void ShowReplayStatus(const QString& text, bool commandsDropped);
  // Sets the caption of Panel_Serial (ApplyPortSettings' caption panel).
  void ShowSerialCaption(const QString& caption);
  // Sets the PC line to the settings, showing them in Panel_Serial. 0, or -1
  // when the line could not be set.
  int ApplyPortSettings(const link::PortSettings& settings);

  // Menu handlers, named as the menu items; items that only open a window
  // name it in the menu table instead.
  void ControlColdClick();
  void ControlWarmClick();
  void ControlFactoryResetClick();
  void FactoryResetNavagationDataClick();
  void FactoryResetConfigParamsClick();
  void ControlSelfSurveyClick();
  void ControlUploadAlmanacClick();
  void ControlDownloadAlmanacClick();
  void ControlDownloadPosClick();
  void ControlTimeToPCClick();
  void ControlPollingTimingPktsClick();
  void RecTypeCvlClick();
  void RecTypeCvlNordenClick();
  void RecTypeCvlPellamClick();
  void RecTypeCvlCVL2Click();
  void RecTypeBriselClick();
  void RecTypeDolvoUTCClick();
  void ControlReplayRecordingClick();
  void Control_PacketsOnClick();
  void Control_SICode6Click();
  void Control_SICode8Click();
  void Control_SICode9Click();

  void SetupSaveAllSegmentsClick();
  void SetupDefaultAllSegmentsClick();

  void ViewDiagnosticsClick();

  void HelpHelpClick();

  // reports::MainView: what the report decoders show here (app/main_view.cpp).
  void showTime(const reports::MainTime& time, const QString& hint) override;
  void showPosition(double latitudeDeg, double longitudeDeg, double altitude,
                    const QString& hint) override;
  void showTimingOutputs(const reports::MainTimingOutputs& outputs) override;
  void showMinorAlarms(std::uint16_t alarms) override;
  void showMode(const QString& mode) override;
  void showStatus(const QString& status, const QString& hint) override;
  void showSatelliteRow(int row, const QString& satellite, const QString& signal,
                        reports::SvColour colour) override;
  void showIdleSatelliteRow(int row) override;
  void showFirmwareVersion(const QString& version) override;
  void applyReceiverType(int type) override;

 Q_SIGNALS:
  // The main window has closed: the run is over.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // SessionObserver.
  void stateChanged(session::ReceiverSession&, session::SessionState state) override;
  void negotiationStarted(session::ReceiverSession&, session::BreakForm form) override;
  void negotiationEnded(session::ReceiverSession&, session::BreakForm form) override;
  void lineCaptionChanged(session::ReceiverSession&, const QString& caption) override;
  void pollTickStarted(session::ReceiverSession&) override;
  void roundHousekeeping(session::ReceiverSession&) override;
  void deviceLost(session::ReceiverSession&, const QString& message) override;
  void inputDropped(session::ReceiverSession&, std::uint64_t total) override;

  void buildPanels(QWidget* client);
  void buildStatusBar(QWidget* client);
  void buildMenus();
  // After the tick that found it: a modal box must not open in the middle of one.
  void showDeviceLost(const QString& message);
  // The watchdogs' end, at once: a vanished receiver sends no more reports.
  void expireWatchdogs();
  bool pollTimingPackets() const;
  void setBusyCursor(bool busy);
  void restoreCursor();
  // Shows a modeless window and brings it forward.
  static void ShowWindow(QWidget* window);
  // The window the menu table names for an item it built.
  void OpenWindowOf(const QAction* item);
  // The same for one of the run's windows, named by its member.
  template <typename W>
  void OpenWindow(std::unique_ptr<W> Windows::*window);

  AppContext& context_;
  session::ReceiverSession& session_;
  Windows* windows_ = nullptr;
  QObject* hintMirror_ = nullptr;
  bool deviceLostShown_ = false;
  bool destroyed_ = false;
  bool centred_ = false;
  bool busyCursor_ = false;
  // A lamp lit since the previous tick is greyed at the start of the next one.
  bool txLampLit_ = false;
  bool rxLampLit_ = false;
  session::SessionState lastState_ = session::SessionState::Stopped;
};

// The window's display reset and PC port change, as the control actions use them.
tools::ControlHooks ControlHooksOf(TForm_Main& main);

}  // namespace halvix::app
