#include "recording/qlip_recorder.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace halvix::recording {

namespace {

QString SystemError(int code) {
  return code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : QStringLiteral("write failed");
}

}  // namespace

int FrameRecordedPacket(int id, const std::uint8_t* payload, int length,
                        std::array<std::uint8_t, kRecordMaxFrame>& out) {
  length = std::clamp(length, 0, kRecordMaxPayload);
  if (payload == nullptr) length = 0;
  return link::EncodeFrame(static_cast<std::uint8_t>(id), payload, length, out.data());
}

QlipRecorder::~QlipRecorder() { close(); }

bool QlipRecorder::open(const QString& fileName) {
  close();
  error_.clear();
  errno = 0;
  file_ = std::fopen(QFile::encodeName(fileName).constData(), "wb");
  if (file_ == nullptr) {
    error_ = SystemError(errno);
    return false;
  }
  return true;
}

bool QlipRecorder::close() {
  if (file_ == nullptr) return true;
  errno = 0;
  const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
  const int flushError = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (flushed && closed) return true;
  error_ = SystemError(flushError != 0 ? flushError : errno);
  return false;
}

bool QlipRecorder::RecordPacket(int id, const std::uint8_t* payload, int length) {
  if (file_ == nullptr) return false;
  const int n = FrameRecordedPacket(id, payload, length, frame_);
  errno = 0;
  // A buffer flush that failed inside fwrite may still count the bytes as taken.
  if (std::fwrite(frame_.data(), 1, static_cast<std::size_t>(n), file_) != static_cast<std::size_t>(n) ||
      std::ferror(file_)) {
    fail();
    return false;
  }
  return true;
}

void QlipRecorder::fail() {
  const int code = errno;
  std::fclose(file_);
  file_ = nullptr;
  error_ = SystemError(code);
}

}  // namespace halvix::recording
