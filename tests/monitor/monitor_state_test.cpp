#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "monitor/daily_recorder.h"
#include "monitor/exposition.h"
#include "monitor/monitor.h"
#include "session/scheduler.h"
#include "sim/simulated_device.h"
#include "tests/support/pullable_device.h"

using namespace halvix;
using namespace halvix::monitor;

namespace {

// Series of an exposition by name and labels, e.g. "halvix_receiver_up{receiver=\"a\"}".
std::map<QString, double> SeriesOf(const QByteArray& text) {
  std::map<QString, double> series;
  for (const QByteArray& line : text.split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    const qsizetype space = line.lastIndexOf(' ');
    series[QString::fromUtf8(line.left(space))] = line.mid(space + 1).toDouble();
  }
  return series;
}

ReceiverConfig Receiver(const char* name, const char* port) {
  ReceiverConfig r;
  r.name = QString::fromUtf8(name);
  r.port = QString::fromUtf8(port);
  return r;
}

class MonitorOnVirtualTime : public ::testing::Test {
 protected:
  session::VirtualScheduler scheduler;
  Monitor monitor{scheduler};
  QByteArray scrape() { return Exposition(monitor.states()); }
};

}  // namespace

// Every line is a HELP, a TYPE or a sample of the family announced last, with
// the receiver label first; each family is announced once.
TEST_F(MonitorOnVirtualTime, ExpositionIsWellFormed) {
  ASSERT_TRUE(monitor.addReceiver(Receiver("a", "sim:corvel")));
  ASSERT_TRUE(monitor.addReceiver(Receiver("b\\\"\n", "sim:brisel")));
  monitor.start();
  scheduler.advance(30'000);
  const QByteArray text = scrape();
  static const QRegularExpression sample(
      QStringLiteral("^([a-z_]+)\\{receiver=\"(?:[^\"\\\\\\n]|\\\\[\\\\\"n])*\"(,[a-z_]+=\"(?:[^\"\\\\\\n]|\\\\[\\\\\"n])*\")*\\} (\\S+)$"));
  std::set<QByteArray> families;
  QByteArray current;
  for (const QByteArray& line : text.split('\n')) {
    if (line.isEmpty()) continue;
    if (line.startsWith("# HELP ")) {
      current = line.mid(7, line.indexOf(' ', 7) - 7);
      EXPECT_TRUE(families.insert(current).second) << current.constData();
      continue;
    }
    if (line.startsWith("# TYPE ")) {
      EXPECT_TRUE(line.startsWith("# TYPE " + current + ' ')) << line.constData();
      EXPECT_TRUE(line.endsWith(" gauge") || (line.endsWith(" counter") && current.endsWith("_total")));
      continue;
    }
    const auto m = sample.match(QString::fromUtf8(line));
    ASSERT_TRUE(m.hasMatch()) << line.constData();
    EXPECT_EQ(m.captured(1).toUtf8(), current);
  }
  EXPECT_TRUE(text.contains("{receiver=\"b\\\\\\\"\\n\"}"));
}

TEST_F(MonitorOnVirtualTime, TimingValuesInBaseUnits) {
  ASSERT_TRUE(monitor.addReceiver(Receiver("gpsdo", "sim:corvel")));
  monitor.start();
  scheduler.advance(40'000);
  const auto s = SeriesOf(scrape());
  const auto at = [&](const char* key) {
    const auto it = s.find(QString::fromUtf8(key));
    EXPECT_NE(it, s.end()) << key;
    return it == s.end() ? std::nan("") : it->second;
  };
  EXPECT_EQ(at("halvix_receiver_up{receiver=\"gpsdo\"}"), 1);
  // The simulated oscillator is disciplined to well within a microsecond and a part per million.
  EXPECT_LT(std::abs(at("halvix_pps_offset_seconds{receiver=\"gpsdo\"}")), 1e-6);
  EXPECT_LT(std::abs(at("halvix_oscillator_offset_ratio{receiver=\"gpsdo\"}")), 1e-6);
  EXPECT_LT(std::abs(at("halvix_pps_quantization_error_seconds{receiver=\"gpsdo\"}")), 1e-7);
  const double tracked = at("halvix_satellites_tracked{receiver=\"gpsdo\"}");
  const double used = at("halvix_satellites_used{receiver=\"gpsdo\"}");
  EXPECT_GE(tracked, 4);
  EXPECT_LE(used, tracked);
  const double survey = at("halvix_self_survey_progress_ratio{receiver=\"gpsdo\"}");
  EXPECT_GE(survey, 0);
  EXPECT_LE(survey, 1);
  int alarms = 0, modes = 0;
  for (const auto& [key, value] : s) {
    if (key.startsWith(QStringLiteral("halvix_minor_alarm{"))) {
      ++alarms;
      EXPECT_TRUE(value == 0 || value == 1);
    }
    if (key.startsWith(QStringLiteral("halvix_receiver_mode{"))) ++modes;
  }
  EXPECT_EQ(alarms, 10);
  EXPECT_EQ(modes, 1);
  EXPECT_GT(at("halvix_packets_received_total{receiver=\"gpsdo\",kind=\"8F-AC\"}"), 30);
  EXPECT_EQ(at("halvix_decode_problems_total{receiver=\"gpsdo\"}"), 0);
  // The type comes from the production parameters when the configuration names none.
  EXPECT_EQ(monitor.state(0).type(), QStringLiteral("corvel"));
  EXPECT_FALSE(monitor.state(0).version()->application.versionText().isEmpty());
}

// ADEV needs four times tau of evenly spaced phase; after some minutes tau 100 is there, 1000 not yet.
TEST_F(MonitorOnVirtualTime, AdevAppearsAsTheHistoryGrows) {
  ASSERT_TRUE(monitor.addReceiver(Receiver("a", "sim:corvel")));
  monitor.start();
  scheduler.advance(20'000);
  auto s = SeriesOf(scrape());
  EXPECT_TRUE(s.count(QStringLiteral("halvix_pps_adev{receiver=\"a\",tau_seconds=\"1\"}")));
  EXPECT_FALSE(s.count(QStringLiteral("halvix_pps_adev{receiver=\"a\",tau_seconds=\"10\"}")));
  scheduler.advance(420'000);
  s = SeriesOf(scrape());
  for (const char* tau : {"1", "10", "100"}) {
    const auto key = QStringLiteral("halvix_pps_adev{receiver=\"a\",tau_seconds=\"%1\"}").arg(QString::fromLatin1(tau));
    ASSERT_TRUE(s.count(key)) << tau;
    EXPECT_GT(s[key], 0);
    EXPECT_LT(s[key], 1e-6);
  }
  EXPECT_FALSE(s.count(QStringLiteral("halvix_pps_adev{receiver=\"a\",tau_seconds=\"1000\"}")));
}

// A report the layout refuses is counted, an unrouted id is "other", and values go stale.
TEST_F(MonitorOnVirtualTime, BadReportsAreCountedAndOldValuesDropped) {
  ASSERT_TRUE(monitor.addReceiver(Receiver("a", "sim:corvel")));
  monitor.start();
  scheduler.advance(20'000);
  ReceiverState& state = monitor.state(0);
  session::ReceiverSession& session = monitor.session(0);
  const std::uint8_t shortAc[3] = {0xAC, 0, 0};
  state.packetReceived(session, 0x8F, shortAc, 3);
  const std::uint8_t junk[2] = {1, 2};
  state.packetReceived(session, 0xE7, junk, 2);
  state.packetReceived(session, 0x8F, junk, 2);  // a sub-code nothing routes
  const auto counts = state.packetsByKind();
  EXPECT_EQ(state.decodeProblems(), 1u);
  EXPECT_EQ(counts.at(QStringLiteral("other")), 2u);
  EXPECT_EQ(counts.count(QStringLiteral("E7")), 0u);
  ASSERT_NE(state.timing(), nullptr);
  session.stop();
  scheduler.advance(ReceiverState::kStaleMs + 200);
  EXPECT_FALSE(state.up());
  EXPECT_EQ(state.timing(), nullptr);
  const auto s = SeriesOf(scrape());
  EXPECT_EQ(s.at(QStringLiteral("halvix_receiver_up{receiver=\"a\"}")), 0);
  EXPECT_FALSE(s.count(QStringLiteral("halvix_pps_offset_seconds{receiver=\"a\"}")));
  EXPECT_TRUE(s.count(QStringLiteral("halvix_reconnects_total{receiver=\"a\"}")));
}

TEST(DailyRecorder, AppendsPerDayAndKeepsOnlyTheRetention) {
  QTemporaryDir dir;
  QDate today(2026, 3, 10);
  const QString folder = dir.filePath(QStringLiteral("rx"));
  // Old days: one inside the retention of 3 days, one beyond it, and a stranger.
  QDir().mkpath(folder);
  for (const char* name : {"2026-03-08.qlp", "2026-03-07.qlp", "notes.txt"}) {
    QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  const std::uint8_t payload[3] = {0xAB, 0x10, 0x03};
  {
    DailyRecorder r(folder, 3, [&] { return today; });
    r.record(0x8F, payload, 3);
    EXPECT_EQ(r.currentFile(), QDir(folder).filePath(QStringLiteral("2026-03-10.qlp")));
  }
  const auto size = [&](const char* name) { return QFileInfo(QDir(folder).filePath(QString::fromLatin1(name))).size(); };
  const qint64 one = size("2026-03-10.qlp");
  EXPECT_EQ(one, 8);  // DLE 8F AB DLE DLE 03 DLE ETX: the DLE in the payload doubled
  {
    // A restart the same day appends.
    DailyRecorder r(folder, 3, [&] { return today; });
    r.record(0x8F, payload, 3);
    today = today.addDays(1);
    r.record(0x8F, payload, 3);
    EXPECT_TRUE(r.error().isEmpty());
  }
  EXPECT_EQ(size("2026-03-10.qlp"), 2 * one);
  EXPECT_EQ(size("2026-03-11.qlp"), one);
  EXPECT_TRUE(QFile::exists(QDir(folder).filePath(QStringLiteral("notes.txt"))));
  EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("2026-03-07.qlp"))));
  // On the 11th, three days kept are the 9th to the 11th: the 8th goes too.
  EXPECT_FALSE(QFile::exists(QDir(folder).filePath(QStringLiteral("2026-03-08.qlp"))));
}

TEST(DailyRecorder, AFolderThatCannotBeMadeIsReportedNotFatal) {
  DailyRecorder r(QStringLiteral("/proc/no/such/folder"), 3);
  const std::uint8_t payload[1] = {0};
  r.record(0x45, payload, 1);
  r.record(0x45, payload, 1);
  EXPECT_FALSE(r.error().isEmpty());
  EXPECT_TRUE(r.currentFile().isEmpty());
}

// Every event kind is a series from the start; a pulled device is one loss and
// one return, counted once however long it stays away.
TEST(MonitorEvents, ADeviceLostAndBackIsCountedOnce) {
  session::VirtualScheduler scheduler;
  auto device = std::make_unique<halvix::testing::PullableDevice>(
      sim::CreateSimulatedDevice(QStringLiteral("corvel"), scheduler.clock()));
  halvix::testing::PullableDevice* pullable = device.get();
  session::SessionOptions options;
  options.port = QStringLiteral("sim:corvel");
  session::ReceiverSession session(std::move(device), scheduler, options);
  ReceiverState state(QStringLiteral("a"), QStringLiteral("corvel"), session);
  session.start();
  scheduler.advance(30'000);
  const std::vector<const ReceiverState*> states{&state};
  auto s = SeriesOf(Exposition(states));
  EXPECT_EQ(s.at(QStringLiteral("halvix_events_total{receiver=\"a\",kind=\"device_lost\"}")), 0);
  EXPECT_EQ(s.at(QStringLiteral("halvix_events_total{receiver=\"a\",kind=\"pps_step\"}")), 0);
  pullable->pull();
  scheduler.advance(10'000);
  pullable->putBack();
  scheduler.advance(20'000);
  ASSERT_TRUE(state.up());
  s = SeriesOf(Exposition(states));
  EXPECT_EQ(s.at(QStringLiteral("halvix_events_total{receiver=\"a\",kind=\"device_lost\"}")), 1);
  EXPECT_EQ(s.at(QStringLiteral("halvix_events_total{receiver=\"a\",kind=\"device_back\"}")), 1);
}
