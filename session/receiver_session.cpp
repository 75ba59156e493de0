#include "session/receiver_session.h"

#include <QDebug>
#include <algorithm>

#include "commands/catalogue.h"
#include "link/break_sequence.h"

namespace halvix::session {

const char* SessionStateName(SessionState state) {
  switch (state) {
    case SessionState::Stopped: return "stopped";
    case SessionState::Waiting: return "waiting";
    case SessionState::Negotiating: return "negotiating";
    case SessionState::Polling: return "polling";
  }
  return "stopped";
}

ReceiverSession::ReceiverSession(std::unique_ptr<link::SerialDevice> device, Scheduler& scheduler,
                                 SessionOptions options)
    : device_(std::move(device)),
      scheduler_(scheduler),
      options_(std::move(options)),
      link_(*device_, scheduler.clock()) {
  if (options_.portLabel.isEmpty()) options_.portLabel = options_.port;
  dispatcher_.setDeveloperMode(options_.developerMode);
  packetCallback_ = [this](link::SerialLink& l) { onPacket(l); };
  QObject::connect(&link_, &link::SerialLink::deviceLost, &link_,
                   [this](const QString& message) { onDeviceLost(message); });
  QObject::connect(&link_, &link::SerialLink::inputOverflow, &link_, [this](std::uint64_t total) {
    for (std::size_t i = 0; i < observers_.size(); ++i) {
      if (observers_[i] != nullptr) observers_[i]->inputDropped(*this, total);
    }
  });
}

ReceiverSession::~ReceiverSession() {
  // Observers may already be gone; the session ends without telling them.
  observers_.clear();
  stop();
}

void ReceiverSession::addObserver(SessionObserver* observer) {
  if (observer != nullptr &&
      std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void ReceiverSession::removeObserver(SessionObserver* observer) {
  // Nulled, not erased: the observer may be removing itself while being told.
  std::replace(observers_.begin(), observers_.end(), observer, static_cast<SessionObserver*>(nullptr));
}

// Indexed, not iterated: an observer may add or remove observers while told.
template <typename Call>
void ReceiverSession::tell(Call call) {
  for (std::size_t i = 0; i < observers_.size(); ++i) {
    if (observers_[i] != nullptr) call(*observers_[i]);
  }
}

void ReceiverSession::setState(SessionState state) {
  if (state_ == state) return;
  state_ = state;
  tell([&](SessionObserver& o) { o.stateChanged(*this, state); });
}

void ReceiverSession::setLineCaption(const QString& caption, bool always) {
  if (lineCaption_ == caption && !always) return;
  lineCaption_ = caption;
  tell([&](SessionObserver& o) { o.lineCaptionChanged(*this, caption); });
}

void ReceiverSession::cancelSteps() {
  for (Scheduler::TaskId* task : {&stepTask_, &tickTask_, &pumpTask_, &lossTask_}) {
    scheduler_.cancel(*task);
    *task = 0;
  }
  lossPending_ = false;
}

bool ReceiverSession::start() {
  if (state_ != SessionState::Stopped) return true;
  // A new start is a new round robin; a reconnect carries on with the old one.
  pollPhase_ = 0;
  tryOpen();
  return state_ != SessionState::Waiting;
}

void ReceiverSession::stop() {
  cancelSteps();
  clearSends();
  if (breakRaised_) {
    link_.SetBreak(false);
    breakRaised_ = false;
  }
  breakRunning_ = false;
  sendsHeld_ = false;
  link_.CloseLink();
  setState(SessionState::Stopped);
}

void ReceiverSession::tryOpen() {
  stepTask_ = 0;
  const int result = everOpened_ ? link_.ReopenLink() : link_.OpenLink(options_.port);
  if (result != 0) {
    if (state_ != SessionState::Waiting) {
      qWarning().noquote() << QStringLiteral("Serial port: %1 could not be opened; trying again every %2 s")
                                  .arg(options_.port)
                                  .arg(kReconnectMs / 1000);
    }
    setState(SessionState::Waiting);
    stepTask_ = scheduler_.after(kReconnectMs, [this] { tryOpen(); });
    return;
  }
  if (everOpened_) {
    ++reconnects_;
    qInfo().noquote() << QStringLiteral("Serial port: %1 is back; negotiating the line again")
                             .arg(options_.port);
  }
  everOpened_ = true;
  setLineCaption(link::OpenedPortCaption(options_.portLabel));
  clearSends();
  // A line change before the start (on a link opened by hand) must not hold the new queue.
  sendsHeld_ = false;
  nextSendMs_ = 0;
  beginBreak();
}

void ReceiverSession::onDeviceLost(const QString& message) {
  for (std::size_t i = 0; i < observers_.size(); ++i) {
    if (observers_[i] != nullptr) observers_[i]->deviceLost(*this, message);
  }
  // The loss is found inside a step (a poll, a send); the step finishes first.
  if (lossPending_) return;
  lossPending_ = true;
  lossTask_ = scheduler_.after(0, [this] { handleLoss(); });
}

void ReceiverSession::handleLoss() {
  lossTask_ = 0;
  lossPending_ = false;
  scheduler_.cancel(stepTask_);
  scheduler_.cancel(tickTask_);
  scheduler_.cancel(pumpTask_);
  stepTask_ = tickTask_ = pumpTask_ = 0;
  clearSends();
  breakRaised_ = false;
  breakRunning_ = false;
  sendsHeld_ = false;
  setLineCaption(QStringLiteral("Disconnected %1").arg(options_.portLabel));
  qInfo().noquote() << QStringLiteral("Serial port: %1 disconnected; trying to open it again every %2 s")
                           .arg(options_.port)
                           .arg(kReconnectMs / 1000);
  setState(SessionState::Waiting);
  stepTask_ = scheduler_.after(kReconnectMs, [this] { tryOpen(); });
}

void ReceiverSession::restartNegotiation() {
  if (state_ != SessionState::Polling && state_ != SessionState::Negotiating) return;
  beginBreak();
}

// Break sequence: BREAK held for four ticks, the version query one tick after
// its release, then the receiver's port-settings line or, thirteen ticks on,
// its defaults; 3 s later the receiver is sent the settings and 200 ms after
// that the PC line follows. Each pause is a scheduled step.
void ReceiverSession::beginBreak() {
  scheduler_.cancel(stepTask_);
  scheduler_.cancel(tickTask_);
  stepTask_ = tickTask_ = 0;
  breakCountdown_ = kBreakStart;
  breakForm_ = BreakForm::Full;
  breakRunning_ = true;
  // The receiver answers a BREAK at 9600 8-None-1; a line negotiated before
  // must be set back to it, or the settings line arrives garbled and the two
  // sides never meet again.
  link_.SetLine(link::LineSettings{9600, 8, link::Parity::None, link::StopBits::One});
  setLineCaption(link::OpenedPortCaption(options_.portLabel));
  setState(SessionState::Negotiating);
  stepTask_ = scheduler_.after(kTickMs, [this] { breakTick(); });
}

void ReceiverSession::sendBreak() {
  if (state_ != SessionState::Polling && state_ != SessionState::Negotiating) return;
  scheduler_.cancel(stepTask_);
  stepTask_ = 0;
  link::PortSettings known;
  known.baudCode = 7;
  known.dataBitsCode = 3;
  applyPortSettings(known);
  // A full negotiation under way keeps its form and starts its BREAK again.
  if (state_ == SessionState::Polling) breakForm_ = BreakForm::Short;
  breakRunning_ = true;
  breakCountdown_ = kBreakStart;
  stepTask_ = scheduler_.after(kSettleAfterSetMs + kTickMs, [this] { breakTick(); });
}

bool ReceiverSession::applyPortSettings(const link::PortSettings& settings) {
  const auto line = link::LineSettingsFor(settings);
  const auto caption = link::PortSettingsCaption(options_.portLabel, settings);
  if (!line || !caption) {
    qWarning().noquote() << QString::asprintf(
        "Serial port: settings codes %d,%d,%d,%d are outside the tables; line left unchanged",
        settings.baudCode, settings.dataBitsCode, settings.parityCode, settings.stopBitsCode);
    return false;
  }
  // The line is the device's: a link opened without starting the session (a
  // window set on a test device) takes settings as well.
  if (link_.lost() || !link_.device().isOpen()) return false;
  // Told even when unchanged: a view may have shown something else meanwhile.
  setLineCaption(*caption, true);
  // Nothing leaves while the line changes; the queue goes on after a short settle.
  sendsHeld_ = true;
  link_.device().drain();
  link_.SetLine(*line);
  scheduler_.cancel(pumpTask_);
  pumpTask_ = scheduler_.after(link::SerialLink::kLinePauseMs, [this] {
    pumpTask_ = 0;
    sendsHeld_ = false;
    pump();
  });
  return true;
}

void ReceiverSession::breakTick() {
  stepTask_ = 0;
  bool shortFormEnds = false;
  if (breakCountdown_ == kBreakStart) {
    tell([&](SessionObserver& o) { o.negotiationStarted(*this, breakForm_); });
  }
  switch (breakCountdown_) {
    case kBreakStart:
      breakSettings_.dataBitsCode = 0;
      link_.SetBreak(true);
      breakRaised_ = true;
      break;
    case kBreakReleased:
      link_.SetBreak(false);
      breakRaised_ = false;
      shortFormEnds = breakForm_ == BreakForm::Short;
      break;
    case kBreakVersionQuery:
      send([](link::SerialLink& l) { commands::SoftwareVersionRequest1F(l); });
      break;
    case 0:
      applyBreakSettings();
      return;
    default:
      break;
  }
  if (link_.lost()) return;
  // The ending tick of the short form still reads a settings line that came in time.
  if (lookForPortSettingsLine()) return;
  --breakCountdown_;
  if (shortFormEnds) {
    endNegotiation();
    return;
  }
  stepTask_ = scheduler_.after(kTickMs, [this] { breakTick(); });
}

bool ReceiverSession::lookForPortSettingsLine() {
  const int got = link_.ReadRaw();
  // Only the bytes of this read are searched, and the line never runs past them.
  for (int i = 0; i + 1 < got; ++i) {
    if (link_.raw[static_cast<std::size_t>(i)] != 'P' ||
        link_.raw[static_cast<std::size_t>(i) + 1] != 'R') {
      continue;
    }
    const int n = std::min(link::kPortSettingsLineLength, got - i);
    portSettingsLine_ = QByteArray(reinterpret_cast<const char*>(link_.raw.data()) + i, n);
    link_.readIndex = 0;
    link::ParsePortSettingsLine(portSettingsLine_, breakSettings_);
    applyBreakSettings();
    return true;
  }
  return false;
}

void ReceiverSession::applyBreakSettings() {
  // A settings line that arrives while BREAK is held must not leave the line in BREAK.
  if (breakRaised_) {
    link_.SetBreak(false);
    breakRaised_ = false;
  }
  link::CompleteNegotiatedSettings(breakSettings_);
  stepTask_ = scheduler_.after(kSettleBeforeSetMs, [this] { sendSetSerialPort(); });
}

void ReceiverSession::sendSetSerialPort() {
  stepTask_ = 0;
  const link::PortSettings settings = breakSettings_;
  // The PC line follows 200 ms after the command has actually gone out.
  send([this, settings](link::SerialLink& l) {
    commands::SetSerialPortBC(l, settings);
    scheduler_.cancel(stepTask_);
    stepTask_ = scheduler_.after(kSettleAfterSetMs, [this] { switchPcLine(); });
  });
}

void ReceiverSession::switchPcLine() {
  stepTask_ = 0;
  const auto line = link::LineSettingsFor(breakSettings_);
  const auto caption = link::PortSettingsCaption(options_.portLabel, breakSettings_);
  if (line && caption) {
    // Nothing leaves while the line changes.
    sendsHeld_ = true;
    link_.device().drain();
    link_.SetLine(*line);
    setLineCaption(*caption);
  }
  stepTask_ = scheduler_.after(link::SerialLink::kLinePauseMs, [this] {
    stepTask_ = 0;
    sendsHeld_ = false;
    // After the short form the poll cycle has been running all along.
    if (state_ == SessionState::Polling) endNegotiation();
    else startPolling();
    pump();
  });
}

// Poll cycle.
void ReceiverSession::startPolling() {
  startupCountdown_ = kStartupCountdown;
  pollingSinceMs_ = scheduler_.nowMs();
  lastPacketMs_ = std::max(lastPacketMs_, pollingSinceMs_);
  setState(SessionState::Polling);
  tickDue_ = scheduler_.nowMs() + kTickMs;
  if (!pollingHeld_) tickTask_ = scheduler_.after(kTickMs, [this] { pollTick(); });
  endNegotiation();
}

void ReceiverSession::holdPolling(bool held) {
  if (held == pollingHeld_) return;
  pollingHeld_ = held;
  if (held) {
    scheduler_.cancel(tickTask_);
    tickTask_ = 0;
    return;
  }
  if (state_ != SessionState::Polling || tickTask_ != 0) return;
  // The transfer read the receiver's replies itself: its time is not silence.
  const std::int64_t now = scheduler_.nowMs();
  lastPacketMs_ = std::max(lastPacketMs_, now);
  tickDue_ = now + kTickMs;
  tickTask_ = scheduler_.after(kTickMs, [this] { pollTick(); });
}

void ReceiverSession::endNegotiation() {
  if (!breakRunning_) return;
  breakRunning_ = false;
  tell([&](SessionObserver& o) { o.negotiationEnded(*this, breakForm_); });
}

void ReceiverSession::pollTick() {
  tickTask_ = 0;
  // Inside a read (a decoder's modal box runs the event loop): this tick is
  // skipped whole, and the next keeps the grid.
  if (link_.reading()) {
    tickDue_ += kTickMs;
    const std::int64_t now = scheduler_.nowMs();
    if (tickDue_ <= now) tickDue_ = now + kTickMs;
    if (!pollingHeld_) tickTask_ = scheduler_.after(tickDue_ - now, [this] { pollTick(); });
    return;
  }
  tell([&](SessionObserver& o) { o.pollTickStarted(*this); });
  if (state_ != SessionState::Polling) return;
  startupQueries();
  link_.PollPort(packetCallback_, false);
  if (link_.lost() || state_ != SessionState::Polling) return;
  roundRobin();
  const std::int64_t now = scheduler_.nowMs();
  if (options_.renegotiateWhenSilent && now - lastPacketMs_ > kSilenceMs) {
    qInfo().noquote() << QStringLiteral("Serial port: %1 has been silent for %2 s; negotiating the line again")
                             .arg(options_.port)
                             .arg(kSilenceMs / 1000);
    lastPacketMs_ = now;
    beginBreak();
    return;
  }
  // Ticks keep their 200 ms grid; ticks missed by a late start are skipped, not run in a burst.
  tickDue_ += kTickMs;
  if (tickDue_ <= now) tickDue_ = now + kTickMs;
  if (pollingHeld_) return;
  tickTask_ = scheduler_.after(tickDue_ - now, [this] { pollTick(); });
}

void ReceiverSession::receive() {
  if (link_.lost() || !link_.device().isOpen()) return;
  link_.PollPort(packetCallback_, false);
}

void ReceiverSession::startupQueries() {
  if (startupCountdown_ > 3) {
    --startupCountdown_;
  } else if (startupCountdown_ == 3) {
    send([](link::SerialLink& l) { commands::SoftwareVersionRequest1F(l); });
    --startupCountdown_;
  } else if (startupCountdown_ == 2) {
    send([](link::SerialLink& l) { commands::ProductionParametersRequest8E42(l); });
    startupCountdown_ = 0;
  } else if (startupCountdown_ == 0) {
    startupCountdown_ = -1;
  }
}

void ReceiverSession::roundRobin() {
  pollPhase_ = (pollPhase_ + 1) % kPhases;
  const bool timing = options_.pollTimingPackets;
  switch (pollPhase_) {
    case 0: send([](link::SerialLink& l) { commands::SvSelectionRequest24(l); }); break;
    case 1: send([](link::SerialLink& l) { commands::TrackingStatusRequest3C(l); }); break;
    case 2:
      for (std::size_t i = 0; i < observers_.size(); ++i) {
        if (observers_[i] != nullptr) observers_[i]->roundHousekeeping(*this);
      }
      break;
    case 3:
    case 4:
      if (timing) {
        send([](link::SerialLink& l) {
          commands::TimingPacketRequest8EAB(l, commands::kTimingRequestBoth);
        });
      } else if (pollPhase_ == 3) {
        send([](link::SerialLink& l) { commands::TimeRequest21(l); });
      } else {
        send([](link::SerialLink& l) { commands::HealthRequest26(l); });
      }
      break;
    case 5:
      if (!timing) send([](link::SerialLink& l) { commands::ComprehensiveTimeRequest8E0B(l); });
      break;
    default: break;
  }
}

void ReceiverSession::onPacket(link::SerialLink& l) {
  ++packets_;
  lastPacketMs_ = scheduler_.nowMs();
  dispatcher_(l);
  const int length = std::clamp(l.completedLength, 0, link::SerialLink::kPayloadSize);
  for (std::size_t i = 0; i < observers_.size(); ++i) {
    if (observers_[i] != nullptr) observers_[i]->packetReceived(*this, l.id, l.payload.data(), length);
  }
}

void ReceiverSession::setRecorder(Recorder recorder) { dispatcher_.setRecorder(std::move(recorder)); }

// Paced sends: the link keeps frames 100 ms apart by waiting; the queue keeps
// them apart by scheduling, so the link never has to wait.
void ReceiverSession::send(Command command) {
  if (state_ == SessionState::Stopped || state_ == SessionState::Waiting || link_.lost() ||
      sends_.size() >= kSendQueueBound) {
    ++commandsDropped_;
    return;
  }
  sends_.push_back(std::move(command));
  if (pumpTask_ == 0) pump();
}

void ReceiverSession::pump() {
  pumpTask_ = 0;
  if (sendsHeld_ || sends_.empty()) return;
  const std::int64_t now = scheduler_.nowMs();
  if (now < nextSendMs_) {
    pumpTask_ = scheduler_.after(nextSendMs_ - now, [this] { pump(); });
    return;
  }
  Command command = std::move(sends_.front());
  sends_.pop_front();
  command(link_);
  nextSendMs_ = scheduler_.nowMs() + link::SerialLink::kSendSpacingMs;
  if (!sends_.empty() && pumpTask_ == 0 && !link_.lost()) {
    pumpTask_ = scheduler_.after(link::SerialLink::kSendSpacingMs, [this] { pump(); });
  }
}

void ReceiverSession::clearSends() {
  commandsDropped_ += sends_.size();
  sends_.clear();
  scheduler_.cancel(pumpTask_);
  pumpTask_ = 0;
}

}  // namespace halvix::session
