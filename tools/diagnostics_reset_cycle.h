// The developer's repeated-reset test without its window: which reset goes
// out when, the steps two seconds after a reset, when the test stops (its
// length, an App Fatal report, a receiver silent at a reset boundary), its
// counters and the texts it reports; and the serial input rate beside it.
// The Diagnostics window reads its choices into it, ticks it once a second
// and shows what it keeps.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace halvix::link {
class SerialLink;
}

namespace halvix::tools {

// "%ld": leading blanks, an optional sign and digits; the rest is ignored.
// Nothing without a digit or beyond 32 bits.
std::optional<std::int32_t> ScanLong(const QString& text);

// The choices of the test, by item index of the window's radio groups.
struct ResetTestModes {
  enum LengthMode { kTimedLength = 0, kUntilAppFatal = 1, kManualStop = 2 };
  enum IntervalMode { kTimedInterval = 0, kWhenTracking = 1 };
  enum ResetType { kCold = 0, kWarm, kFactoryAll, kFactoryNav, kFactoryConfig, kRandom };
};

class ResetCycle : public ResetTestModes {
 public:
  static constexpr std::int64_t kQueryPauseMs = 200;

  // A pseudo-random source for the Random reset type; any non-negative value,
  // taken modulo 5.
  using Random = std::function<unsigned()>;

  struct Choices {
    int lengthMode = kManualStop;
    int intervalMode = kTimedInterval;
    int resetType = kRandom;
    QString lengthText;    // seconds, read for a timed length
    QString intervalText;  // seconds, read for a timed interval
  };

  // What a second of a running test came to.
  enum class Tick { Running, Stopped, FellSilent };

  // What an App Fatal report came to.
  struct Fatal {
    bool counted = false;        // the test was running
    bool stopped = false;        // the test ran until an App Fatal
    bool checkSegments = false;  // after a factory reset with segments modified
  };

  explicit ResetCycle(link::SerialLink& link);

  void setRandom(Random random) { random_ = std::move(random); }

  // Starts the test and sends its first reset. False, with nothing sent,
  // when a timed interval is not a whole number of seconds, 1 or more.
  bool start(const Choices& choices);
  // Ends a running test; its results are then resultsText().
  void stop() { running = false; }

  // One second of the test: counts it, then stops the test or sends what is due.
  void countSecond() { ++elapsedSeconds; }
  Tick step();

  // Report 0x8F-AC with satellites usable: the next reset in When Tracking mode.
  void nextTrackingReset();
  // A packet arrived.
  void heartBeat();
  // Report 0x5F: an App Fatal error or exception. The texts of fatalText()
  // belong before it.
  Fatal appFatal(bool exception);

  // "H:MM:SS" of the seconds run.
  QString durationText() const;
  // The reset and its number, written when an App Fatal arrives.
  QStringList fatalText() const;
  // The summary written when the test stops, line by line.
  QStringList resultsText() const;

  // Set from the window's check boxes; read at each step.
  bool packetsAfterReset = false;
  bool modifySegments = false;
  // The receiver port the test configures and checks.
  std::int32_t testPort = 0;

  // The choices the test last started with.
  int lengthMode = 0;
  std::int32_t testLength = 0;
  int intervalMode = 0;
  std::int32_t resetInterval = 0;
  int resetType = 0;
  // Its progress.
  bool running = false;
  std::int32_t elapsedSeconds = 0;
  bool receiverTalked = false;
  std::int32_t resetCount = 0;
  int currentResetType = -1;
  QString lastResetText;
  std::int32_t errorCount = 0;
  std::int32_t exceptionCount = 0;

 private:
  void sendReset(int type);
  void afterResetSteps();
  bool afterFactoryReset() const;

  link::SerialLink& link_;
  Random random_;
};

// The receiver's output rate: characters per second averaged since the
// window last began, which it does every 1000 s or on request.
class InputRate {
 public:
  static constexpr int kWindowSeconds = 1000;

  explicit InputRate(link::SerialLink& link) : link_(link) {}

  // One second; returns the average.
  std::int64_t tick();
  void reset();

 private:
  link::SerialLink& link_;
  int ticks_ = 0;
};

}  // namespace halvix::tools
