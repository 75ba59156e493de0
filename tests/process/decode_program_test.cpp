// halvix-decode as a program: what it writes where, and its exit status for a
// clean stream, a flawed one, and input or options it cannot use.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <vector>

#include "tests/reports/payload_writer.h"

namespace {

using halvix::testing::Framed;
using halvix::testing::PayloadWriter;

QByteArray Bytes(const std::vector<std::uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

struct Result {
  int exit = -1;
  QByteArray out, err;
};

Result Decode(const QStringList& args, const QByteArray& input) {
  QProcess p;
  p.start(QStringLiteral(HALVIX_DECODE_PATH), args);
  if (!p.waitForStarted(10'000)) return {};
  p.write(input);
  p.closeWriteChannel();
  if (!p.waitForFinished(30'000)) {
    p.kill();
    p.waitForFinished(5'000);
    return {};
  }
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QByteArray TimingStream(int seconds) {
  QByteArray s;
  for (int t = 0; t < seconds; ++t) {
    s += Bytes(Framed(0x8F, PayloadWriter(17).byte(0, 0xAB).longWord(1, 1000 + t).word(5, 2300)));
    s += Bytes(Framed(0x8F, PayloadWriter(68).byte(0, 0xAC).single(16, static_cast<float>(t % 3))));
  }
  return s;
}

}  // namespace

TEST(DecodeProgram, ExitStatusAndWhereEachPartGoes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray clean = TimingStream(20);
  const QByteArray flawed = clean + QByteArray("\x10\x41\x01\x10\x55", 5);
  struct Case {
    const char* what;
    QStringList args;
    QByteArray input;
    int exit;
    const char* inOut;  // expected in standard output ("" for nothing)
    const char* inErr;
  };
  const std::vector<Case> cases = {
      {"clean stream", {QStringLiteral("-")}, clean, 0, "Supplemental Timing", "packets: 40, problems: 0"},
      {"flawed stream", {}, flawed, 1, "frame broken by a DLE", "problems: 2"},
      {"missing file", {dir.filePath(QStringLiteral("none.qlp"))}, {}, 2, "", "cannot read"},
      {"unknown format", {QStringLiteral("--format=xml")}, clean, 2, "", "unknown format 'xml'"},
      {"adev table", {QStringLiteral("--adev"), QStringLiteral("--format=csv")}, clean, 0,
       "tau_s,adev,adev_corrected", "8F-AC reports: 20"},
      {"adev with csv-dir", {QStringLiteral("--adev"), QStringLiteral("--csv-dir=") + dir.path()}, clean, 2,
       "", "leave out --csv-dir"},
      {"adev intervals and noise", {QStringLiteral("--adev")}, clean, 0, "adev_lo", "phase points analysed: 20"},
      {"events table", {QStringLiteral("--events"), QStringLiteral("--format=csv"),
                        QStringLiteral("--step-floor=0.5")}, clean, 0,
       "time_s,kind,detail,from,to,value", "8F-AC reports: 20"},
      {"events and adev at once", {QStringLiteral("--events"), QStringLiteral("--adev")}, clean, 2, "",
       "not both"},
      {"a threshold that is no number", {QStringLiteral("--events"), QStringLiteral("--step-floor=5,0")},
       clean, 2, "", "--step-floor needs a positive number, not '5,0'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Result r = Decode(c.args, c.input);
    EXPECT_EQ(r.exit, c.exit);
    if (*c.inOut == '\0') {
      EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
    } else {
      EXPECT_TRUE(r.out.contains(c.inOut)) << r.out.left(400).constData();
    }
    EXPECT_TRUE(r.err.contains(c.inErr)) << r.err.constData();
  }
}
