// What the Charts window exports, as text: the time series, the stability
// table (the one halvix-decode --adev writes) and the timing events. Numbers
// are written the same whatever the operator's locale.
#pragma once

#include <QString>
#include <deque>
#include <string>

#include "analysis/stability.h"
#include "analysis/timing_events.h"
#include "analysis/timing_history.h"

namespace halvix::reports {

std::string TimeSeriesCsv(const analysis::TimingHistory& history);
std::string StabilityCsv(const analysis::StabilityResult& raw, const analysis::StabilityResult& corrected);
std::string EventsCsv(const std::deque<analysis::TimingEvent>& events);

// Writes the bytes whole; false on any failure.
bool WriteTextFile(const QString& path, const std::string& text);

}  // namespace halvix::reports
