// QLIP recording: every dispatched packet framed again exactly as QLIP frames
// it on the wire (DLE, id, payload with each DLE doubled, DLE ETX), appended
// to a file with no header. A write that fails ends the recording and keeps
// its reason, so a full disk is never mistaken for a complete file.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <cstdio>

#include "link/framing.h"

namespace halvix::recording {

// The longest payload the parser delivers.
inline constexpr int kRecordMaxPayload = link::kMaxFramePayload;
inline constexpr int kRecordMaxFrame = link::kMaxFrameSize;

// Frames one packet into out (room for kRecordMaxFrame bytes); returns the
// frame length. A payload longer than kRecordMaxPayload is cut to it.
int FrameRecordedPacket(int id, const std::uint8_t* payload, int length,
                        std::array<std::uint8_t, kRecordMaxFrame>& out);

class QlipRecorder {
 public:
  QlipRecorder() = default;
  ~QlipRecorder();
  QlipRecorder(const QlipRecorder&) = delete;
  QlipRecorder& operator=(const QlipRecorder&) = delete;

  // Opens (truncating) the file. False with the reason in error() on failure.
  bool open(const QString& fileName);
  // Flushes and closes. False when the last buffered bytes could not be
  // written (the reason in error()); closing a closed recorder is true.
  bool close();
  bool isOpen() const { return file_ != nullptr; }

  // Appends one packet's frame. Allocates nothing. False when the write
  // failed: the file is then closed and error() says why.
  bool RecordPacket(int id, const std::uint8_t* payload, int length);

  const QString& error() const { return error_; }

 private:
  void fail();

  std::FILE* file_ = nullptr;
  std::array<std::uint8_t, kRecordMaxFrame> frame_{};
  QString error_;
};

}  // namespace halvix::recording
