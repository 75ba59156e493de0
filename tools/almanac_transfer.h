// Almanac and system-data transfer between the receiver and a file, through
// the satellite data request and load (0x38) and their one reply, report
// 0x58, which only this transfer's wait consumes. The caller holds the link
// for the whole transfer (its poll cycle held); the log lines go out
// through a hook, so the same code runs in the window and headless.
#pragma once

#include <QFile>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "link/serial_link.h"
#include "tools/almanac_file.h"

namespace halvix::tools {

class SystemDataTransfer {
 public:
  struct Hooks {
    // One log line, text and line end included.
    std::function<void(const QString&)> log;
    // The transfer begins (hold the poll cycle, show the log) and ends
    // (release it); end runs on every exit path.
    std::function<void()> begin;
    std::function<void()> end;
    // A packet arrived during a wait (the Rx lamp).
    std::function<void()> packetSeen;
  };

  // How long one wait for report 0x58 may take. The longest reply (4 bytes
  // and 255 data bytes, every one doubled) takes about 0.55 s at 9600 baud;
  // the bound leaves room for a second of periodic output queued ahead of it
  // and for the receiver's own latency.
  static constexpr std::int64_t kWaitBoundMs = 3000;
  // Pause between two reads of the port while waiting: the wait never spins.
  static constexpr std::int64_t kPollPauseMs = 10;
  // Pause before each SV step and each uploaded block.
  static constexpr std::int64_t kStepPauseMs = 100;
  static constexpr int kMaxSv = 32;

  SystemDataTransfer(link::SerialLink& link, Hooks hooks);

  // True when all 35 blocks were written.
  bool DownloadSystemData(const QString& fileName);
  // False only when the file cannot be opened.
  bool UploadSystemData(const QString& fileName);
  // Waits for report 0x58 of this type and SV. True when one came; then
  // currentReply and lastOperation describe it.
  bool WaitForSystemData(int type, int sv);

  // The accepted reply: operation, type, SV, length, data (a copy, so it
  // outlives the link's payload buffer).
  struct Reply {
    std::uint8_t operation = 0;
    std::uint8_t type = 0;
    std::uint8_t sv = 0;
    int length = 0;
    std::array<std::uint8_t, kRecordMaxData> data{};
  };
  const Reply& currentReply() const { return reply_; }
  int lastOperation() const { return lastOperation_; }

 private:
  // Opens the file, runs body on it between the begin and end hooks, and logs a file that
  // does not open.
  bool withAlmanacFile(const QString& fileName, QIODevice::OpenMode mode,
                       const std::function<bool(QFile&)>& body);
  bool downloadStep(QIODevice& file, std::uint8_t type, std::uint8_t sv);
  // One record of the upload; false ends the upload.
  bool loadOneBlock(QIODevice& file);
  void log(const QString& line) const;

  link::SerialLink& link_;
  Hooks hooks_;
  Reply reply_;
  Reply caught_;
  int lastOperation_ = 0;
};

}  // namespace halvix::tools
