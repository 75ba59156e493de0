// Plays a QLIP recording back as a serial device, so the whole program (or
// halvix-sim on a pseudo-terminal) runs on it unchanged. The file has no time
// stamps: it is paced by the GPS time the stream carries. A time report
// (0x8F-AB, 0x41, 0x8F-0B) with a later second than the last starts that
// second; answers to polls that repeat a second do not. While the time does
// not move (a receiver without time, or a stream without time reports) each
// once-a-second 0x8F-AC starts a second. A jump in the stream's time is shown
// as a gap, not waited out. Everything runs on the Clock seam; commands
// written to it go nowhere.
#pragma once

#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "link/clock.h"
#include "link/byte_stream_device.h"

namespace halvix::recording {

// Where each receiver-second of a recording starts.
struct RecordingIndex {
  std::vector<std::int64_t> secondStarts;  // byte offsets; the first is 0
  // (second index, seconds of stream time skipped just before it)
  std::vector<std::pair<int, std::int64_t>> gaps;
  std::int64_t size = 0;
};

// Indexes a recording by reading it once in pieces. False with a reason when
// the file cannot be read.
bool IndexRecording(const QString& fileName, RecordingIndex& index, QString* error);
// The same over bytes in memory (what IndexRecording does per piece).
RecordingIndex IndexStream(const std::uint8_t* data, std::size_t size);

class ReplayDevice final : public link::ByteStreamDevice {
 public:
  static constexpr double kMinSpeed = 0.25;
  static constexpr double kMaxSpeed = 100.0;
  // A gap stays in the status text this many replay seconds.
  static constexpr int kGapShownSeconds = 5;

  explicit ReplayDevice(link::Clock& clock, double speed = 1.0);

  // Opens the recording; replay time starts now.
  bool open(const QString& fileName) override;
  bool isOpen() const override { return file_.isOpen(); }
  std::int64_t bytesWaiting() override;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override;
  // Accepted and dropped: a recording cannot answer.
  std::int64_t write(const std::uint8_t* data, std::int64_t size) override;
  void close() override { file_.close(); }

  // Clamped to kMinSpeed..kMaxSpeed; takes effect from now on.
  void setSpeed(double speed);
  double speed() const { return speed_; }
  void setPaused(bool paused);
  bool paused() const { return paused_; }
  // Held, nothing comes and replay time stands: the program holds it while
  // its start-up break sequence runs, which would swallow the first seconds.
  void setHeld(bool held);
  bool held() const { return held_; }

  const QString& fileName() const { return fileName_; }
  const QString& error() const { return error_; }
  const RecordingIndex& index() const { return index_; }
  // Receiver-seconds started so far, and in the whole recording.
  int positionSeconds();
  int durationSeconds() const { return static_cast<int>(index_.secondStarts.size()); }
  // Every second has run its course and every byte has been read.
  bool finished();
  // Stream seconds skipped by a gap shown now (0 for none).
  std::int64_t shownGap();
  std::int64_t commandsDropped() const { return commandsDropped_; }
  // Called for each command written during the replay.
  void setCommandDropped(std::function<void()> fn) { commandDropped_ = std::move(fn); }

 private:
  void advance();
  std::int64_t releasedLimit() const;

  link::Clock& clock_;
  double speed_;
  bool paused_ = false;
  bool held_ = false;
  double replayMs_ = 0;
  std::int64_t lastNowMs_ = 0;
  QFile file_;
  QString fileName_;
  QString error_;
  RecordingIndex index_;
  std::int64_t readPos_ = 0;
  std::int64_t commandsDropped_ = 0;
  std::function<void()> commandDropped_;
};

// "00:12:34" of a count of seconds.
QString FormatReplayClock(int seconds);
// "Replay run.qlp 00:12:34 / 01:00:00", with the pause, a gap being skipped,
// the end of the recording and (withCommands) dropped commands said after it.
QString ReplayStatusText(ReplayDevice& device, bool withCommands = true);
// What the status bar says once a command has gone nowhere.
inline constexpr const char* kReplayCommandsText = "Commands not sent";

}  // namespace halvix::recording
