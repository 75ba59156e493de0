#include "monitor/daily_recorder.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace halvix::monitor {

DailyRecorder::DailyRecorder(QString folder, int retentionDays, Today today)
    : folder_(std::move(folder)), retentionDays_(retentionDays), today_(std::move(today)) {
  if (!today_) today_ = [] { return QDateTime::currentDateTimeUtc().date(); };
}

DailyRecorder::~DailyRecorder() { close(); }

void DailyRecorder::close() {
  if (file_ == nullptr) return;
  if (std::fclose(file_) != 0 && error_.isEmpty()) {
    error_ = QStringLiteral("%1: %2").arg(fileName_, QString::fromLocal8Bit(std::strerror(errno)));
  }
  file_ = nullptr;
}

bool DailyRecorder::openDay(const QDate& day) {
  close();
  day_ = day;
  if (!QDir().mkpath(folder_)) {
    error_ = QStringLiteral("%1: cannot create the recording folder").arg(folder_);
    qWarning().noquote() << "Recording:" << error_;
    return false;
  }
  fileName_ = QDir(folder_).filePath(day.toString(Qt::ISODate) + QStringLiteral(".qlp"));
  file_ = std::fopen(QFile::encodeName(fileName_).constData(), "ab");
  if (file_ == nullptr) {
    error_ = QStringLiteral("%1: %2").arg(fileName_, QString::fromLocal8Bit(std::strerror(errno)));
    qWarning().noquote() << "Recording:" << error_;
    return false;
  }
  error_.clear();
  prune(day);
  return true;
}

void DailyRecorder::record(int id, const std::uint8_t* payload, int length) {
  const QDate day = today_();
  // A file that failed is tried again the next day, not at every packet.
  if (day != day_ && !openDay(day)) return;
  if (file_ == nullptr) return;
  const int n = recording::FrameRecordedPacket(id, payload, length, frame_);
  if (std::fwrite(frame_.data(), 1, static_cast<std::size_t>(n), file_) != static_cast<std::size_t>(n)) {
    error_ = QStringLiteral("%1: %2").arg(fileName_, QString::fromLocal8Bit(std::strerror(errno)));
    qWarning().noquote() << "Recording stopped until the next day:" << error_;
    std::fclose(file_);
    file_ = nullptr;
  }
}

int DailyRecorder::prune(const QDate& today) {
  int removed = 0;
  const QDate oldest = today.addDays(-(retentionDays_ - 1));
  const auto files = QDir(folder_).entryList({QStringLiteral("*.qlp")}, QDir::Files);
  for (const QString& name : files) {
    if (name.size() != 14) continue;  // YYYY-MM-DD.qlp only
    const QDate day = QDate::fromString(name.left(10), Qt::ISODate);
    if (day.isValid() && day < oldest && QFile::remove(QDir(folder_).filePath(name))) ++removed;
  }
  return removed;
}

}  // namespace halvix::monitor
