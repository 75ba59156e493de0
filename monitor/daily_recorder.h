// Records a receiver's packet stream as QLIP frames, one file per UTC day
// (YYYY-MM-DD.qlp) in the receiver's folder, appending so that a restart the
// same day loses nothing, and removes day files older than the retention.
#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "recording/qlip_recorder.h"

namespace halvix::monitor {

class DailyRecorder {
 public:
  using Today = std::function<QDate()>;  // the UTC date now

  DailyRecorder(QString folder, int retentionDays, Today today = {});
  ~DailyRecorder();
  DailyRecorder(const DailyRecorder&) = delete;
  DailyRecorder& operator=(const DailyRecorder&) = delete;

  // Appends one packet; opens the day's file first when the day has changed.
  void record(int id, const std::uint8_t* payload, int length);
  void close();

  QString currentFile() const { return fileName_; }
  // The last failure (cannot create the folder or file, a write failed); empty while sound.
  const QString& error() const { return error_; }
  // Removes day files older than the retention; returns how many went.
  int prune(const QDate& today);

 private:
  bool openDay(const QDate& day);

  QString folder_;
  int retentionDays_;
  Today today_;
  QDate day_;
  QString fileName_;
  std::FILE* file_ = nullptr;
  QString error_;
  std::array<std::uint8_t, recording::kRecordMaxFrame> frame_{};
};

}  // namespace halvix::monitor
