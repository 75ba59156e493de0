#include "recording/decode_stability.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "analysis/stability_table.h"
#include "reports/timing_layouts.h"

namespace halvix::recording {

StabilityCollector::StabilityCollector() = default;

void StabilityCollector::packet(std::int64_t, int id, const std::uint8_t* payload, int length) {
  time_.packet(id, payload, length);
  if (id != 0x8F || length < 1 || payload[0] != 0xAC) return;
  const auto r = reports::DecodeSupplementalTiming(payload, length);
  if (!r) return;
  ++reports_;
  const double raw = r->ppsOffset * 1e-9;
  const double corrected = (static_cast<double>(r->ppsOffset) - r->quantizationError) * 1e-9;
  const analysis::PhaseGaps::Place place = gaps_.place(static_cast<double>(time_.elapsed()));
  // A second report of the same second is not a new phase point.
  if (place.kind == analysis::PhaseGaps::Kind::Repeat) return;
  auto missing = static_cast<std::size_t>(place.missing);
  // A run whose gaps would outnumber its points by more than a day is mostly
  // nothing (a stream whose time keeps leaping ahead): it ends there, so the
  // gaps held stay within the data read plus a day.
  if (place.kind == analysis::PhaseGaps::Kind::Restart ||
      runMissing_ + missing > runPoints_ + static_cast<std::size_t>(analysis::PhaseGaps::kMaxGapSeconds)) {
    endRun();
    missing = 0;
  }
  // Missing seconds stay missing; so does a value that is not a number.
  constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
  raw_.insert(raw_.end(), missing, kMissing);
  corrected_.insert(corrected_.end(), missing, kMissing);
  raw_.push_back(std::isfinite(raw) ? raw : kMissing);
  corrected_.push_back(std::isfinite(corrected) ? corrected : kMissing);
  runMissing_ += missing;
  ++runPoints_;
}

void StabilityCollector::problem(std::int64_t, FrameFlaw, std::string_view) { ++problems_; }

void StabilityCollector::endRun() {
  if (raw_.empty()) return;
  ++runs_;
  if (raw_.size() > bestRaw_.size()) {
    bestRaw_.swap(raw_);
    bestCorrected_.swap(corrected_);
  }
  raw_.clear();
  corrected_.clear();
  runMissing_ = runPoints_ = 0;
}

void StabilityCollector::finish() {
  deframer_.finish();
  endRun();
}

namespace {

void Put(std::string& s, std::size_t v) {
  char buf[24];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

}  // namespace

void StabilityCollector::write(DecodeFormat format, LineOutput& out) const {
  const auto columns = analysis::StabilityColumns();
  const auto rows = analysis::StabilityRows(analysis::ComputeStability(bestRaw_),
                                            analysis::ComputeStability(bestCorrected_));
  std::string line;
  const auto row = [&](const std::vector<std::string>& cells) {
    line.clear();
    if (format == DecodeFormat::JsonLines) {
      line.push_back('{');
      for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) line.push_back(',');
        line.push_back('"');
        line.append(columns[i].name);
        line.append("\":");
        const std::string& v = cells[i];
        if (columns[i].text) {
          line.append("\"").append(v).append("\"");
        } else {
          // A deviation without terms: null, as for any number that is not finite.
          line.append(v == "nan" || v == "-nan" || v == "inf" || v == "-inf" ? "null" : v);
        }
      }
      line.push_back('}');
    } else {
      for (std::size_t i = 0; i < columns.size(); ++i) {
        if (format == DecodeFormat::Csv) {
          if (i > 0) line.push_back(',');
          line.append(cells[i]);
        } else {
          // Aligned: each column as wide as its name and then some.
          const std::size_t width = std::max<std::size_t>(columns[i].name.size() + 2, 14);
          line.append(cells[i]);
          if (i + 1 < columns.size()) line.append(cells[i].size() < width ? width - cells[i].size() : 1, ' ');
        }
      }
    }
    line.push_back('\n');
    out.append(line);
  };
  if (format != DecodeFormat::JsonLines) {
    std::vector<std::string> head;
    for (const analysis::StabilityColumn& c : columns) head.emplace_back(c.name);
    row(head);
  }
  for (const std::vector<std::string>& cells : rows) row(cells);
}

std::string StabilityCollector::summary() const {
  std::string s = "8F-AC reports: ";
  Put(s, static_cast<std::size_t>(reports_));
  s.append(", runs: ");
  Put(s, static_cast<std::size_t>(runs_));
  s.append(", phase points analysed: ");
  Put(s, bestRaw_.size());
  s.append(" (");
  Put(s, static_cast<std::size_t>(std::count_if(bestRaw_.begin(), bestRaw_.end(),
                                                [](double x) { return std::isnan(x); })));
  s.append(" missing)");
  s.append(", problems: ");
  Put(s, static_cast<std::size_t>(problems_));
  s.push_back('\n');
  // A deviation at 1 s wants four phase points at least.
  if (bestRaw_.size() < 4) s.append("too few phase points for a deviation\n");
  return s;
}

}  // namespace halvix::recording
