// Halvix started as a real program on a port name (HALVIX_PROGRAM, defined by
// the test target), with what it writes kept for the checks. Stopped when the
// run ends.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <unistd.h>

namespace halvix::testing {

class HalvixRun {
 public:
  explicit HalvixRun(const QString& port) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A sanitized build keeps freed memory in quarantine; keep that small so
    // resident memory shows Halvix's own.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0:quarantine_size_mb=1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(HALVIX_PROGRAM), {QStringLiteral("--port=") + port});
  }
  ~HalvixRun() {
    process.terminate();
    if (!process.waitForFinished(10000)) process.kill();
  }
  HalvixRun(const HalvixRun&) = delete;
  HalvixRun& operator=(const HalvixRun&) = delete;

  // User plus system CPU time so far, in seconds, from /proc.
  double cpuSeconds() const {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process.processId()));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = stat.readAll();
    // Fields after the parenthesised command name; utime and stime are 14 and 15.
    const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (f.value(11).toDouble() + f.value(12).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  // Resident memory in MB, from /proc.
  double residentMb() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
  }
  // What it wrote so far, without waiting.
  QString output() {
    text += QString::fromLocal8Bit(process.readAll());
    return text;
  }
  // What it wrote so far, waiting a little for more: the output reaches
  // QProcess only while it is waited on.
  QString log() {
    for (int i = 0; i < 20 && process.waitForReadyRead(20); ++i) output();
    return output();
  }
  // Waits at most timeoutMs until the output holds words.
  bool waitForLog(const QString& words, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!output().contains(words) && t.elapsed() < timeoutMs) process.waitForReadyRead(100);
    return output().contains(words);
  }

  QProcess process;
  QString text;
};

}  // namespace halvix::testing
