// TForm_Main: the main window with its status bar, menus and the receiver
// state panels (time, position, timing outputs, mode and status, minor
// alarms, satellite table). It is a view of the receiver session: it shows
// what the session reports (line caption, negotiation, ticks, a lost device)
// and sends through the session's link. Decoders reach it through its typed
// entry points; its panels and lamps are its own.
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
    GroupPanel *Panel_Timing{}, *Panel_Position{}, *Panel_TimingOutputs{}, *Panel_ModeAndStatus{},
        *Panel_MinorAlarms{}, *Panel_SVData{};

    // "Time:"
    ValuePanel *Panel_Time{}, *Panel_UTCOffset{}, *Panel_TOW{}, *Panel_WeekNum{}, *Panel_Date{};
    QLabel* Label_TimeType{};

    // "Position:"
    ValuePanel *Panel_Latitude{}, *Panel_Longitude{}, *Panel_Altitude{}, *Panel_SelfSurvey{};
    CaptionLabel* Label_SelfSurvey{};

    // "Timing Outputs:"
    ValuePanel *Panel_PPSOffset{}, *Panel_10MHz{}, *Panel_Quantization{};
    Lamp* Shape_PPS{};

    // "Mode and Status:"
    ValuePanel *Panel_Mode{}, *Panel_Status{};

    // "Minor Alarms:", indexed by alarm bit; null where a bit has no lamp.
    std::array<Lamp*, kAlarmBits> Shape_Bit{};
    std::array<CaptionLabel*, kAlarmBits> Label_MA{};

    // "SV Data:", rows 1..12 at index 0..11.
    std::array<ValuePanel*, 12> Panel_SV{}, Panel_AMU{};

    // Group titles that open a window when clicked.
    CaptionLabel *Label_TimingOutputsTitle{}, *Label_ModeAndStatusTitle{}, *Label_SVDataTitle{};

    // Status bar.
    GroupPanel* Panel_TxRx{};
    Lamp *Shape_TxLED{}, *Shape_RxLED{};
    ValuePanel *Panel_Hint{}, *Panel_Version{}, *Panel_Serial{};
  };

  struct MenuItems {
    QMenuBar* MainMenu_Main{};

    QMenu *ControlMenu{}, *ControlFactoryReset{}, *ControlRecType{};
    QAction *ControlCold{}, *ControlWarm{};
    QAction *FactoryResetAllParams{}, *FactoryResetNavagationData{}, *FactoryResetConfigParams{};
    QAction *ControlSelfSurvey{}, *ControlUploadPos{}, *ControlUploadTime{}, *ControlUploadAlmanac{},
        *ControlDownloadAlmanac{}, *ControlDownloadPos{}, *ControlTimeToPC{}, *ControlPollingTimingPkts{};
    QAction *RecTypeCvl{}, *RecTypeCvlNorden{}, *RecTypeCvlPellam{}, *RecTypeCvlCVL2{}, *RecTypeBrisel{},
        *RecTypeDolvoUTC{};
    QAction *ControlRecordQlip{}, *ControlReplayRecording{}, *ControlBackdoor{}, *Control_PacketsOn{},
        *Control_SICode6{}, *Control_SICode8{}, *Control_SICode9{};

    QMenu* SetupMenu{};
    QAction *SetupGPS{}, *SetupOneSVMode{}, *Setup2DAltMode{}, *SetupIO{}, *SetupPortBOutput{},
        *SetupTiming{}, *SetupDatum{}, *N3{}, *SetupNMEAOutpu{}, *SetupDefaultSegments{},
        *SetupPortAOutput{}, *SetupSelfSurvey{}, *SetupBriselSelfSurvey{}, *SetupSerialPorts{},
        *SetupSaveAllSegments{}, *SetupDefaultAllSegments{};

    QMenu* ViewMenu{};
    QAction *WindowAddTiming{}, *WindowVelAndPos{}, *ViewTrack{}, *ViewRawMeas{}, *ViewEphemerisStatus{},
        *ViewProductInfo{}, *ViewUtcParameters{}, *ViewEEPROM{}, *ViewAlmanacData{}, *ViewHealth{},
        *ViewDiagnostics{};

    QMenu* HelpMenu{};
    QAction *HelpHelp{}, *HelpAbout{};
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

  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }
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
  // The minor-alarm lamps close up over the hidden antenna rows (the receiver types' layout).
  void respaceMinorAlarms();

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

  Controls controls_;
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
