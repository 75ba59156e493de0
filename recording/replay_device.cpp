#include "recording/replay_device.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "recording/decode_frames.h"
#include "recording/stream_time.h"

namespace halvix::recording {

namespace {

class Indexer final : public FrameSink {
 public:
  explicit Indexer(RecordingIndex& index) : index_(index) { index_.secondStarts.assign(1, 0); }

  void packet(std::int64_t offset, int id, const std::uint8_t* payload, int length) override {
    const StreamTime::Step step = time_.packet(id, payload, length);
    if (!step.newSecond) return;
    if (step.skipped > 0) {
      index_.gaps.emplace_back(static_cast<int>(index_.secondStarts.size()), step.skipped);
    }
    // The first second starts at 0 whatever comes first.
    if (offset > index_.secondStarts.back()) index_.secondStarts.push_back(offset);
  }
  void problem(std::int64_t, FrameFlaw, std::string_view) override {}

 private:
  RecordingIndex& index_;
  StreamTime time_;
};

}  // namespace

RecordingIndex IndexStream(const std::uint8_t* data, std::size_t size) {
  RecordingIndex index;
  Indexer indexer(index);
  QlipDeframer deframer(indexer);
  deframer.feed(data, size);
  deframer.finish();
  index.size = static_cast<std::int64_t>(size);
  return index;
}

bool IndexRecording(const QString& fileName, RecordingIndex& index, QString* error) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  index = RecordingIndex{};
  Indexer indexer(index);
  QlipDeframer deframer(indexer);
  std::vector<std::uint8_t> chunk(256 * 1024);
  for (;;) {
    const qint64 got = file.read(reinterpret_cast<char*>(chunk.data()), static_cast<qint64>(chunk.size()));
    if (got < 0) {
      if (error != nullptr) *error = file.errorString();
      return false;
    }
    if (got == 0) break;
    deframer.feed(chunk.data(), static_cast<std::size_t>(got));
  }
  deframer.finish();
  index.size = deframer.offset();
  return true;
}

ReplayDevice::ReplayDevice(link::Clock& clock, double speed) : clock_(clock) { setSpeed(speed); }

bool ReplayDevice::open(const QString& fileName) {
  if (file_.isOpen()) {
    // The link opens again after a loss: the replay goes on where it was.
    return true;
  }
  fileName_ = fileName;
  if (!IndexRecording(fileName, index_, &error_)) return false;
  file_.setFileName(fileName);
  if (!file_.open(QIODevice::ReadOnly)) {
    error_ = file_.errorString();
    return false;
  }
  readPos_ = 0;
  replayMs_ = 0;
  lastNowMs_ = clock_.nowMs();
  return true;
}

void ReplayDevice::advance() {
  const std::int64_t now = clock_.nowMs();
  if (!paused_ && !held_) replayMs_ += static_cast<double>(now - lastNowMs_) * speed_;
  lastNowMs_ = now;
}

std::int64_t ReplayDevice::releasedLimit() const {
  const auto second = static_cast<std::size_t>(replayMs_ / 1000.0);
  if (second + 1 < index_.secondStarts.size()) return index_.secondStarts[second + 1];
  return index_.size;
}

std::int64_t ReplayDevice::bytesWaiting() {
  if (!file_.isOpen() || held_) return 0;
  advance();
  return std::max<std::int64_t>(0, releasedLimit() - readPos_);
}

std::int64_t ReplayDevice::read(std::uint8_t* buffer, std::int64_t max) {
  const std::int64_t n = std::min(max, bytesWaiting());
  if (n <= 0) return 0;
  if (!file_.seek(readPos_)) return 0;
  const qint64 got = file_.read(reinterpret_cast<char*>(buffer), n);
  if (got <= 0) return 0;
  readPos_ += got;
  return got;
}

std::int64_t ReplayDevice::write(const std::uint8_t*, std::int64_t size) {
  ++commandsDropped_;
  if (commandDropped_) commandDropped_();
  return size;
}

void ReplayDevice::setSpeed(double speed) {
  advance();
  speed_ = std::isfinite(speed) ? std::clamp(speed, kMinSpeed, kMaxSpeed) : 1.0;
}

void ReplayDevice::setHeld(bool held) {
  advance();
  held_ = held;
}

void ReplayDevice::setPaused(bool paused) {
  advance();
  paused_ = paused;
}

int ReplayDevice::positionSeconds() {
  advance();
  return std::min(durationSeconds(), static_cast<int>(replayMs_ / 1000.0));
}

bool ReplayDevice::finished() {
  advance();
  return file_.isOpen() && replayMs_ >= 1000.0 * durationSeconds() && readPos_ >= index_.size;
}

std::int64_t ReplayDevice::shownGap() {
  const int now = positionSeconds();
  for (auto it = index_.gaps.rbegin(); it != index_.gaps.rend(); ++it) {
    if (it->first <= now) return now - it->first < kGapShownSeconds ? it->second : 0;
  }
  return 0;
}

QString FormatReplayClock(int seconds) {
  seconds = std::max(0, seconds);
  return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

QString ReplayStatusText(ReplayDevice& device, bool withCommands) {
  QString text = QStringLiteral("Replay %1 %2 / %3")
                     .arg(QFileInfo(device.fileName()).fileName(),
                          FormatReplayClock(device.positionSeconds()),
                          FormatReplayClock(device.durationSeconds()));
  if (device.finished()) {
    text += QStringLiteral(", end of recording");
  } else if (device.held()) {
    text += QStringLiteral(", waiting for the link");
  } else if (device.paused()) {
    text += QStringLiteral(", paused");
  }
  if (const std::int64_t gap = device.shownGap(); gap > 0) {
    text += QStringLiteral(", gap of %1 s skipped").arg(gap);
  }
  if (withCommands && device.commandsDropped() > 0) text += QStringLiteral(", commands not sent");
  return text;
}

}  // namespace halvix::recording
