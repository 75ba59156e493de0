#include "tools/diagnostics_reset_cycle.h"

#include <algorithm>
#include <random>

#include "commands/catalogue.h"
#include "link/serial_link.h"

namespace halvix::tools {

namespace {

constexpr const char* kResetTexts[] = {"Cold Reset\r\n", "Warm Reset\r\n",
                                       "Factory Reset (All)\r\n", "Factory Reset (Nav)\r\n",
                                       "Factory Reset (Config)\r\n"};
constexpr int kResetKindCount = 5;

}  // namespace

std::optional<std::int32_t> ScanLong(const QString& text) {
  const QString t = text.trimmed();
  int i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  qint64 v = 0;
  const int digitsFrom = i;
  while (i < t.size() && t[i].isDigit() && v <= 0x7FFFFFFF) v = v * 10 + t[i++].digitValue();
  if (i == digitsFrom || v > 0x7FFFFFFF) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -v : v);
}

ResetCycle::ResetCycle(link::SerialLink& link) : link_(link) {
  // The C library's generator as the program never seeds it: the same sequence every run.
  random_ = [engine = std::minstd_rand()]() mutable { return static_cast<unsigned>(engine()); };
}

bool ResetCycle::start(const Choices& choices) {
  // The interval divides the elapsed seconds: anything below 1 never starts a test.
  std::optional<std::int32_t> interval;
  if (choices.intervalMode == kTimedInterval) {
    interval = ScanLong(choices.intervalText);
    if (!interval || *interval < 1) return false;
  }
  elapsedSeconds = errorCount = exceptionCount = resetCount = 0;
  currentResetType = -1;
  receiverTalked = true;
  lengthMode = choices.lengthMode;
  intervalMode = choices.intervalMode;
  resetType = choices.resetType;
  // A length that does not read keeps the last one, as "%ld" leaves its target.
  if (lengthMode == kTimedLength) testLength = ScanLong(choices.lengthText).value_or(testLength);
  if (interval) resetInterval = *interval;
  running = true;
  sendReset(resetType);
  return true;
}

ResetCycle::Tick ResetCycle::step() {
  if (lengthMode == kTimedLength && elapsedSeconds >= testLength) {
    stop();
    return Tick::Stopped;
  }
  if (intervalMode == kTimedInterval && resetInterval >= 1) {
    const int phase = elapsedSeconds % resetInterval;
    if (phase == 0) {
      if (!receiverTalked) {
        stop();
        return Tick::FellSilent;
      }
      sendReset(resetType);
    } else if (phase == 2) {
      afterResetSteps();
    }
  }
  receiverTalked = false;
  return Tick::Running;
}

void ResetCycle::nextTrackingReset() {
  if (running && intervalMode == kWhenTracking) sendReset(resetType);
}

void ResetCycle::heartBeat() {
  if (running) receiverTalked = true;
}

ResetCycle::Fatal ResetCycle::appFatal(bool exception) {
  Fatal f;
  if (!running) return f;
  f.counted = true;
  ++(exception ? exceptionCount : errorCount);
  if (lengthMode == kUntilAppFatal) {
    stop();
    f.stopped = true;
  }
  f.checkSegments = modifySegments && afterFactoryReset();
  return f;
}

bool ResetCycle::afterFactoryReset() const {
  return currentResetType >= kFactoryAll && currentResetType <= kFactoryConfig;
}

void ResetCycle::sendReset(int type) {
  ++resetCount;
  if (type == kRandom) type = static_cast<int>(random_() % kResetKindCount);
  type = std::clamp(type, 0, kResetKindCount - 1);
  currentResetType = type;
  lastResetText = QString::fromLatin1(kResetTexts[type]);
  switch (type) {
    case kCold: commands::ResetCommand1E(link_, commands::kResetCold); break;
    case kWarm: commands::WarmResetCommand25(link_); break;
    case kFactoryAll: commands::ResetCommand1E(link_, commands::kResetFactoryAll); break;
    case kFactoryNav: commands::ResetCommand1E(link_, commands::kResetFactoryNavigation); break;
    default: commands::ResetCommand1E(link_, commands::kResetFactoryConfiguration); break;
  }
}

void ResetCycle::afterResetSteps() {
  link::Clock& clock = link_.clock();
  if (packetsAfterReset) {
    commands::SetPacketBroadcastMask8EA5(link_, 0xFF, 0xE1);
    clock.sleepMs(kQueryPauseMs);
    commands::SetIoOptions35(link_, 0x33, 0x03, 0x01, 0x03);
  }
  if (!modifySegments || !afterFactoryReset()) return;
  // The test values; the segment check looks for them after the next factory reset.
  commands::SetAltitude2A(link_, 100.0f);
  commands::SetDatum8E15(link_, 5);
  clock.sleepMs(kQueryPauseMs);
  // 9600 baud, 8 data bits, no parity, 1 stop bit, QLIP both ways.
  commands::SetSerialPortBC(
      link_, link::PortSettings{static_cast<std::uint8_t>(testPort), 7, 3, 0, 0, 2, 2});
  commands::SetPpsOutput8E4E(link_, commands::kPpsAlways);
  clock.sleepMs(kQueryPauseMs);
  commands::SetSelfSurveyParameters8EA9(link_, 1, 0, 100);
  commands::SetNmeaOutput7A(link_, 10, 1);
  clock.sleepMs(kQueryPauseMs);
  commands::SaveSegmentsCommand8E26(link_);
}

QString ResetCycle::durationText() const {
  return QString::asprintf("%d:%02d:%02d", (elapsedSeconds / 3600) % 24, (elapsedSeconds / 60) % 60,
                           elapsedSeconds % 60);
}

QStringList ResetCycle::fatalText() const {
  return {lastResetText, QString::asprintf("Reset #%ld\r\n", static_cast<long>(resetCount))};
}

QStringList ResetCycle::resultsText() const {
  return {QStringLiteral("---------------------------------------\r\n"),
          QStringLiteral("TEST RESULTS:\r\n"),
          QString::asprintf("Num Resets: %ld\r\n", static_cast<long>(resetCount)),
          QStringLiteral("Duration:   %1\r\n").arg(durationText()),
          QString::asprintf("Errors:     %d\r\n", errorCount),
          QString::asprintf("Exceptions: %d\r\n", exceptionCount),
          QStringLiteral("Last Reset: ") + lastResetText};
}

std::int64_t InputRate::tick() {
  ++ticks_;
  const std::int64_t rate = static_cast<std::int64_t>(link_.bytesReceived.load()) / ticks_;
  if (ticks_ >= kWindowSeconds) reset();
  return rate;
}

void InputRate::reset() {
  link_.bytesReceived = 0;
  ticks_ = 0;
}

}  // namespace halvix::tools
