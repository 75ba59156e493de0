// One receiver, without widgets: the serial link, the report dispatcher, the
// break sequence that negotiates the line, the 200 ms poll cycle, the
// reconnect every 2 s after the device vanishes, and the recorder hook. It
// reports to observers and never blocks its thread: sends wait their spacing
// in a queue and every pause is a step on the scheduler, so any number of
// sessions share one thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "link/port_settings.h"
#include "link/report_dispatcher.h"
#include "link/serial_device.h"
#include "link/serial_link.h"
#include "session/scheduler.h"

namespace halvix::session {

enum class SessionState {
  Stopped,      // not started, or stopped
  Waiting,      // the device could not be opened or has vanished; retried every 2 s
  Negotiating,  // the break sequence is running
  Polling,      // the poll cycle is running
};

const char* SessionStateName(SessionState state);

// The full negotiation (start-up, reconnect, a long silence) runs to its end
// and starts polling; the short one ("Send Break") raises and releases BREAK
// beside the running poll cycle and ends there, unless the receiver answers
// with its port-settings line within those ticks.
enum class BreakForm { Full, Short };

class ReceiverSession;

class SessionObserver {
 public:
  virtual ~SessionObserver() = default;
  virtual void stateChanged(ReceiverSession&, SessionState) {}
  // The first tick of a negotiation, as BREAK is raised.
  virtual void negotiationStarted(ReceiverSession&, BreakForm) {}
  // The negotiation is over: polling has begun, or carries on after a short one.
  virtual void negotiationEnded(ReceiverSession&, BreakForm) {}
  // The caption naming the port and its line settings has changed.
  virtual void lineCaptionChanged(ReceiverSession&, const QString& /*caption*/) {}
  // A poll tick begins, before anything is read or sent.
  virtual void pollTickStarted(ReceiverSession&) {}
  // Every completed packet, after the dispatcher's decoders ran. The payload
  // (offset 0 is the byte after the id) is valid only during the call.
  virtual void packetReceived(ReceiverSession&, int /*id*/, const std::uint8_t* /*payload*/,
                              int /*length*/) {}
  // Once per poll round (every sixth tick), where the watchdogs age.
  virtual void roundHousekeeping(ReceiverSession&) {}
  virtual void deviceLost(ReceiverSession&, const QString& /*message*/) {}
  // Input beyond what one poll takes was dropped; total since the start.
  virtual void inputDropped(ReceiverSession&, std::uint64_t /*total*/) {}
};

struct SessionOptions {
  QString port;                  // the device name handed to the device's open()
  QString portLabel;             // how the line caption names the port
  bool pollTimingPackets = true;  // phases 3 and 4 ask for the timing super-reports
  bool developerMode = false;
  // A receiver silent for kSilenceMs while polled is negotiated with again.
  // The desktop program keeps polling instead: its watchdogs blank the
  // panels and the operator decides.
  bool renegotiateWhenSilent = true;
};

class ReceiverSession {
 public:
  static constexpr std::int64_t kTickMs = 200;
  static constexpr int kPhases = 6;
  static constexpr int kStartupCountdown = 5;
  static constexpr std::int64_t kReconnectMs = 2000;
  // A receiver silent this long while polled is negotiated with again (it may
  // have restarted at other line settings).
  static constexpr std::int64_t kSilenceMs = 10'000;
  static constexpr int kBreakStart = 12;
  static constexpr int kBreakReleased = 8;
  static constexpr int kBreakVersionQuery = 7;
  static constexpr std::int64_t kSettleBeforeSetMs = 3000;
  static constexpr std::int64_t kSettleAfterSetMs = 200;
  // Commands beyond this wait are dropped rather than queued without bound.
  static constexpr std::size_t kSendQueueBound = 64;

  using Command = std::function<void(link::SerialLink&)>;
  using Recorder = link::ReportDispatcher::Recorder;

  ReceiverSession(std::unique_ptr<link::SerialDevice> device, Scheduler& scheduler,
                  SessionOptions options);
  ~ReceiverSession();
  ReceiverSession(const ReceiverSession&) = delete;
  ReceiverSession& operator=(const ReceiverSession&) = delete;

  // Opens the device and starts the break sequence; a device that cannot be
  // opened is tried again every 2 s. False when the first open failed.
  bool start();
  // Ends everything scheduled and closes the device.
  void stop();
  // Negotiates the line again from the BREAK on.
  void restartNegotiation();
  // The short negotiation: the PC line goes to 9600 8-None-1 at once, BREAK is
  // raised 400 ms later and released four ticks after that, while polling goes
  // on. During a full negotiation it starts that one's BREAK again.
  void sendBreak();
  // Sets the PC side of the line to settings and names them in the caption;
  // nothing is sent meanwhile. Codes outside the tables are refused (false).
  bool applyPortSettings(const link::PortSettings& settings);

  void addObserver(SessionObserver* observer);
  void removeObserver(SessionObserver* observer);

  // A transfer that owns the link for a while (the almanac) holds the poll
  // cycle: no ticks, no queries, no silence watch until it is released, when
  // the cycle goes on where it stopped.
  void holdPolling(bool held);
  bool pollingHeld() const { return pollingHeld_; }
  // Reads and dispatches what has arrived, outside the tick (a display reset
  // shows the reports already waiting first). Nothing while the device is
  // closed or away, and nothing inside a read already running.
  void receive();
  // Queues a command; it goes out when the send spacing allows. Commands are
  // dropped while the device is away.
  void send(Command command);
  // Installs (or, with an empty function, removes) the recorder: every packet.
  void setRecorder(Recorder recorder);

  // "Poll Timing Packets": phases 3 and 4 ask for the timing super-reports, or
  // for the time and health reports; takes effect at the next tick.
  void setPollTimingPackets(bool on) { options_.pollTimingPackets = on; }

  SessionState state() const { return state_; }
  const SessionOptions& options() const { return options_; }
  link::SerialLink& link() { return link_; }
  link::ReportDispatcher& dispatcher() { return dispatcher_; }
  Scheduler& scheduler() { return scheduler_; }
  // "<port> 9600, 8-Odd-1" after negotiation; the opened line before.
  const QString& lineCaption() const { return lineCaption_; }
  const link::PortSettings& negotiatedSettings() const { return breakSettings_; }
  std::uint64_t reconnects() const { return reconnects_; }
  std::uint64_t packetsReceived() const { return packets_; }
  std::uint64_t commandsDropped() const { return commandsDropped_; }
  std::int64_t lastPacketMs() const { return lastPacketMs_; }
  int pollPhase() const { return pollPhase_; }
  // A negotiation (either form) has begun and not ended.
  bool negotiating() const { return breakRunning_; }
  BreakForm breakForm() const { return breakForm_; }
  // The break sequence's step counter: 12 at its start, 0 at its last tick.
  int breakCountdown() const { return breakCountdown_; }

 private:
  void setState(SessionState state);
  void cancelSteps();
  void tryOpen();
  void onDeviceLost(const QString& message);
  void handleLoss();
  void beginBreak();
  void breakTick();
  bool lookForPortSettingsLine();
  void applyBreakSettings();
  void sendSetSerialPort();
  void switchPcLine();
  void startPolling();
  void endNegotiation();
  void setLineCaption(const QString& caption, bool always = false);
  template <typename Call>
  void tell(Call call);
  void pollTick();
  void scheduleTick(Scheduler::TaskId& slot, std::int64_t& due, void (ReceiverSession::*step)());
  void startupQueries();
  void roundRobin();
  void onPacket(link::SerialLink& link);
  void pump();
  void clearSends();

  std::unique_ptr<link::SerialDevice> device_;
  Scheduler& scheduler_;
  SessionOptions options_;
  link::SerialLink link_;
  link::ReportDispatcher dispatcher_;
  link::SerialLink::PacketCallback packetCallback_;
  std::vector<SessionObserver*> observers_;

  SessionState state_ = SessionState::Stopped;
  bool everOpened_ = false;
  bool lossPending_ = false;
  Scheduler::TaskId stepTask_ = 0;
  Scheduler::TaskId tickTask_ = 0;
  Scheduler::TaskId pumpTask_ = 0;
  Scheduler::TaskId lossTask_ = 0;
  std::int64_t tickDue_ = 0;

  // Break sequence.
  int breakCountdown_ = kBreakStart;
  bool breakRaised_ = false;
  bool breakRunning_ = false;
  BreakForm breakForm_ = BreakForm::Full;
  link::PortSettings breakSettings_{};
  QByteArray portSettingsLine_;

  // Poll cycle.
  int startupCountdown_ = kStartupCountdown;
  int pollPhase_ = 0;
  std::int64_t lastPacketMs_ = 0;
  std::int64_t pollingSinceMs_ = 0;
  bool pollingHeld_ = false;

  // Paced sends.
  std::deque<Command> sends_;
  std::int64_t nextSendMs_ = 0;
  bool sendsHeld_ = false;

  QString lineCaption_;
  std::uint64_t reconnects_ = 0;
  std::uint64_t packets_ = 0;
  std::uint64_t commandsDropped_ = 0;
};

}  // namespace halvix::session
