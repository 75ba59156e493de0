#include "reports/charts_export.h"

#include <QFile>
#include <charconv>
#include <cstdio>

#include "analysis/stability_table.h"

namespace halvix::reports {

namespace {

void Fixed(std::string& s, double v, int decimals) {
  char buf[48];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr);
}

void General(std::string& s, double v) {
  char buf[48];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 9).ptr);
}

void Count(std::string& s, unsigned v) {
  char buf[16];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

}  // namespace

std::string TimeSeriesCsv(const analysis::TimingHistory& history) {
  std::string out =
      "time_s,pps_offset_ns,oscillator_offset_ppb,quantization_error_ns,minor_alarms,"
      "satellites_tracked,satellites_used\n";
  const auto& timing = history.timing();
  for (std::size_t i = 0; i < timing.size(); ++i) {
    const analysis::TimingSample& s = timing[i];
    Fixed(out, s.t, 3);
    out.push_back(',');
    General(out, s.ppsOffset);
    out.push_back(',');
    General(out, s.oscillatorOffset);
    out.push_back(',');
    General(out, s.quantizationError);
    char hex[12];
    std::snprintf(hex, sizeof hex, ",0x%04x,", s.alarms);
    out.append(hex);
    Count(out, s.tracked);
    out.push_back(',');
    Count(out, s.used);
    out.push_back('\n');
  }
  return out;
}

std::string StabilityCsv(const analysis::StabilityResult& raw, const analysis::StabilityResult& corrected) {
  return analysis::StabilityCsv(raw, corrected);
}

std::string EventsCsv(const std::deque<analysis::TimingEvent>& events) {
  std::string out;
  const auto columns = analysis::TimingEventColumns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) out.push_back(',');
    out.append(columns[i]);
  }
  out.push_back('\n');
  for (const analysis::TimingEvent& e : events) {
    const std::vector<std::string> cells = analysis::TimingEventCells(e);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out.push_back(',');
      out.append(analysis::CsvField(cells[i]));
    }
    out.push_back('\n');
  }
  return out;
}

bool WriteTextFile(const QString& path, const std::string& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const auto size = static_cast<qint64>(text.size());
  const bool ok = file.write(text.data(), size) == size && file.flush();
  file.close();
  return ok;
}

}  // namespace halvix::reports
