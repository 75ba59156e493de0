#include "sim/sim_options.h"

#include <QDateTime>
#include <QStringList>

#include "sim/constellation.h"
#include "sim/gps_time.h"

namespace halvix::sim {
namespace {

bool ParseCount(const QString& value, int& out) {
  bool ok = false;
  const int v = value.toInt(&ok);
  if (!ok || v < 1) return false;
  out = v;
  return true;
}

bool ValidSegment(int s) { return (s >= 2 && s <= 8) || s == 11; }

}  // namespace

std::int64_t DefaultStartGpsMs() {
  // 2024-03-10 12:00:00 UTC.
  const std::int64_t utc = GpsSecondsFromCalendar({2024, 3, 10, 12, 0, 0});
  return (utc + kLeapSeconds) * 1000;
}

std::int64_t GpsMsFromSystemClock() {
  const std::int64_t unixMs = QDateTime::currentDateTimeUtc().toMSecsSinceEpoch();
  return unixMs - kGpsEpochUnixDays * kSecondsPerDay * 1000 + kLeapSeconds * 1000;
}

bool ParseFault(const QString& text, Faults& faults, QString* error) {
  const int eq = text.indexOf(QLatin1Char('='));
  const QString name = (eq < 0 ? text : text.left(eq)).trimmed().toLower();
  const QString value = eq < 0 ? QString() : text.mid(eq + 1).trimmed();
  auto fail = [&](const QString& why) {
    if (error != nullptr) *error = QStringLiteral("fault '%1': %2").arg(text, why);
    return false;
  };
  if (name == QLatin1String("no-almanac")) {
    if (value.isEmpty()) return fail(QStringLiteral("needs satellite numbers 1..32"));
    for (const QString& part : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      bool ok = false;
      const int sv = part.trimmed().toInt(&ok);
      if (!ok || !Constellation::ValidSv(sv)) return fail(QStringLiteral("satellite numbers are 1..32"));
      faults.noAlmanac.insert(sv);
    }
    return true;
  }
  if (name == QLatin1String("refuse-loads") && value.isEmpty()) {
    faults.refuseLoads = true;
    return true;
  }
  if (name == QLatin1String("refuse-time") && value.isEmpty()) {
    faults.refuseTime = true;
    return true;
  }
  if (name == QLatin1String("fatal-every")) {
    return ParseCount(value, faults.fatalEvery) || fail(QStringLiteral("needs a count of 1 or more"));
  }
  if (name == QLatin1String("exception-every")) {
    return ParseCount(value, faults.exceptionEvery) || fail(QStringLiteral("needs a count of 1 or more"));
  }
  if (name == QLatin1String("silent-after-reset")) {
    if (value.isEmpty()) {
      faults.silentAfterReset = 1;
      return true;
    }
    return ParseCount(value, faults.silentAfterReset) || fail(QStringLiteral("needs a count of 1 or more"));
  }
  if (name == QLatin1String("bad-length")) {
    if (value.isEmpty()) {
      faults.badLengthEvery = 25;
      return true;
    }
    return ParseCount(value, faults.badLengthEvery) || fail(QStringLiteral("needs a count of 1 or more"));
  }
  if (name == QLatin1String("corrupt-segment")) {
    bool ok = false;
    const int s = value.toInt(&ok);
    if (!ok || !ValidSegment(s)) return fail(QStringLiteral("segments are 2..8 and 11"));
    faults.corruptSegment = s;
    return true;
  }
  return fail(QStringLiteral("unknown fault"));
}

QString FaultHelp() {
  return QStringLiteral(
      "  no-almanac=SV[,SV...]   no almanac for these satellites\n"
      "  refuse-loads            refuse every satellite data load\n"
      "  refuse-time             answer set GPS time with 'N' once it has satellite time\n"
      "  fatal-every=N           App Fatal error report after every Nth reset\n"
      "  exception-every=N       App Fatal exception report after every Nth reset\n"
      "  silent-after-reset[=N]  stay silent for good after the Nth reset (default 1)\n"
      "  bad-length[=N]          every Nth report one byte long or short (default 25)\n"
      "  corrupt-segment=N       EEPROM segment N found corrupt at power-on\n");
}

}  // namespace halvix::sim
