// How a simulated receiver is set up: its type, random seed, speed, start
// time, and the faults it should show.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <set>

#include "sim/geodesy.h"

namespace halvix::sim {

struct Faults {
  std::set<int> noAlmanac;        // satellites whose almanac the receiver never has
  bool refuseLoads = false;       // every satellite data load is refused
  bool refuseTime = false;        // set GPS time is refused ('N') once it has satellite time
  int fatalEvery = 0;             // an App Fatal error (0x5F kind 0xFF) after every Nth reset
  int exceptionEvery = 0;         // an App Fatal exception (kind 0xFE) after every Nth reset
  int silentAfterReset = 0;       // the Nth reset leaves the receiver silent for good
  int badLengthEvery = 0;         // every Nth report goes out one byte long or short
  int corruptSegment = -1;        // this EEPROM segment is found corrupt at power-on
};

struct SimOptions {
  QString persona = QStringLiteral("corvel");
  std::uint64_t seed = 1;
  // How much faster than the clock satellites move and the survey and data
  // collection advance. Time and the once-a-second output keep the clock's pace.
  double speed = 1.0;
  // GPS time (ms since the GPS epoch) at power-on; unset means a fixed date.
  std::optional<std::int64_t> startGpsMs;
  // How long the receiver is silent after a reset.
  std::int64_t restartSilenceMs = 2500;
  Faults faults;
  // Where the antenna is.
  Lla site{0.83029, 0.14908, 412.0};
};

// GPS time at power-on when none is given: a fixed date, so runs repeat.
std::int64_t DefaultStartGpsMs();
// GPS ms now, from the computer's UTC clock.
std::int64_t GpsMsFromSystemClock();

// Parses one fault: no-almanac=SV[,SV...], refuse-loads, refuse-time,
// fatal-every=N, exception-every=N, silent-after-reset[=N], bad-length[=N],
// corrupt-segment=N. On failure returns false with a reason.
bool ParseFault(const QString& text, Faults& faults, QString* error);
// Help text listing the faults.
QString FaultHelp();

}  // namespace halvix::sim
