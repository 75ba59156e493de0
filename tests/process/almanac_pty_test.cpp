// The almanac transfer and the recording on the wall clock against two
// halvix-sim programs on pseudo-terminals: a download from the first while
// the link is recorded for about a minute, then an upload of that file to
// the second, with every block acknowledged. The recording's framing is
// checked against the bytes that came off the line by a short script.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "link/clock.h"
#include "link/forwarding_device.h"
#include "link/qt_serial_device.h"
#include "link/report_dispatcher.h"
#include "link/serial_link.h"
#include "session/receiver_session.h"
#include "session/scheduler.h"
#include "sim/system_data.h"
#include "tools/almanac_transfer.h"
#include "recording/qlip_recorder.h"
#include "tests/process/sim_program.h"

using namespace halvix;

namespace {

// The port, keeping a copy of every byte read.
class TappedDevice final : public link::ForwardingDevice {
 public:
  TappedDevice() : ForwardingDevice(std::make_unique<link::QtSerialDevice>()) {}
  QByteArray received;
  std::int64_t read(std::uint8_t* buffer, std::int64_t max) override {
    const std::int64_t n = ForwardingDevice::read(buffer, max);
    if (n > 0) received.append(reinterpret_cast<const char*>(buffer), static_cast<int>(n));
    return n;
  }
};

class Sim {
 public:
  ~Sim() {
    process.terminate();
    if (!process.waitForFinished(5000)) process.kill();
  }
  QString start() {
    process.setProcessChannelMode(QProcess::SeparateChannels);
    return halvix::testing::StartSimProgram(process, {QStringLiteral("--speed=100")});
  }
  QProcess process;
};

// One end of the link on a receiver's pseudo-terminal: a receiver session on
// the wall clock. BREAK is invisible on a pseudo-terminal, so the line is
// negotiated to the receiver's defaults; the bytes pass whatever the parity.
struct Line {
  link::SystemClock clock;
  session::QtScheduler scheduler{clock};
  TappedDevice* device = nullptr;
  std::unique_ptr<session::ReceiverSession> session;
  QStringList log;

  bool open(const QString& path) {
    auto d = std::make_unique<TappedDevice>();
    device = d.get();
    session::SessionOptions options;
    options.port = path;
    session = std::make_unique<session::ReceiverSession>(std::move(d), scheduler, options);
    return session->start();
  }
  link::ReportDispatcher& dispatcher() { return session->dispatcher(); }
  // The event loop runs the session's steps for this long.
  void pollFor(std::int64_t ms) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
  }
  // Once polling runs, up to a bound.
  bool polling(std::int64_t boundMs) {
    QElapsedTimer t;
    t.start();
    while (session->state() != session::SessionState::Polling && t.elapsed() < boundMs) pollFor(100);
    return session->state() == session::SessionState::Polling;
  }
  tools::SystemDataTransfer transfer() {
    return tools::SystemDataTransfer(session->link(), {[this](const QString& s) { log << s; },
                                                       [this] { session->holdPolling(true); },
                                                       [this] { session->holdPolling(false); }, {}});
  }
};

QByteArray Read(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(AlmanacProcess, DownloadWhileRecordingThenUploadToASecondReceiver) {
  QTemporaryDir dir;
  const QString out = qEnvironmentVariable("HALVIX_PROCESS_OUT", dir.path());
  QDir().mkpath(out);
  const QString almanac = out + QStringLiteral("/system.dat");
  const QString recording = out + QStringLiteral("/run.qlp");
  const QString raw = out + QStringLiteral("/run.raw");

  Sim first;
  const QString firstPath = first.start();
  ASSERT_TRUE(firstPath.startsWith(QLatin1String("/dev/"))) << firstPath.toStdString();
  Line a;
  ASSERT_TRUE(a.open(firstPath));

  recording::QlipRecorder recorder;
  ASSERT_TRUE(recorder.open(recording));
  a.dispatcher().setRecorder([&recorder](int id, const std::uint8_t* p, int n) { recorder.RecordPacket(id, p, n); });
  // About 45 s of polling: the receiver finds satellites and collects its system data.
  a.pollFor(45'000);
  EXPECT_TRUE(a.transfer().DownloadSystemData(almanac)) << a.log.join(QString()).toStdString();
  a.pollFor(12'000);
  a.dispatcher().setRecorder({});
  ASSERT_TRUE(recorder.close()) << recorder.error().toStdString();
  {
    QFile f(raw);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(a.device->received);
  }

  const QByteArray file = Read(almanac);
  const int data = static_cast<int>(sim::BlockLength(3) + 32 * sim::BlockLength(2) +
                                    sim::BlockLength(4) + sim::BlockLength(5));
  EXPECT_EQ(file.size(), 2 + 35 * 4 + 32 + data);
  EXPECT_EQ(file.left(4), QByteArray("\x00\x00\x82\x03", 4));

  Sim second;
  const QString secondPath = second.start();
  ASSERT_TRUE(secondPath.startsWith(QLatin1String("/dev/")));
  Line b;
  ASSERT_TRUE(b.open(secondPath));
  ASSERT_TRUE(b.polling(15'000));
  b.pollFor(1000);
  EXPECT_TRUE(b.transfer().UploadSystemData(almanac));
  EXPECT_EQ(b.log.count(QStringLiteral("   Data block acknowledged\r\n")), 35) << b.log.join(QString()).toStdString();
  EXPECT_EQ(b.log.back(), QStringLiteral("System data load complete.\r\n"));

  // The recording: exact framing, the line's own frames, no reply the transfer consumed.
  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (python.isEmpty()) GTEST_SKIP() << "python3 not found: framing script not run";
  QProcess check;
  check.setProcessChannelMode(QProcess::MergedChannels);
  check.start(python, {QStringLiteral(HALVIX_FRAMING_SCRIPT), recording, raw});
  ASSERT_TRUE(check.waitForFinished(30000));
  const QString verdict = QString::fromLocal8Bit(check.readAll());
  EXPECT_EQ(check.exitCode(), 0) << verdict.toStdString();
  EXPECT_TRUE(verdict.startsWith(QStringLiteral("ok: "))) << verdict.toStdString();
  EXPECT_FALSE(verdict.contains(QStringLiteral(" 58"))) << verdict.toStdString();
  EXPECT_TRUE(a.device->received.contains(QByteArray("\x10\x58\x02", 3)));
}

}  // namespace
