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
  const auto r = TimedSupplementalTiming(time_, id, payload, length);
  if (!r) return;
  ++reports_;
  const analysis::PhaseSeries::Step step =
      phase_.add(static_cast<double>(time_.elapsed()), r->ppsOffset, r->quantizationError);
  // A second report of the same second is not a new phase point.
  if (step.kind == analysis::PhaseGaps::Kind::Repeat) return;
  auto missing = static_cast<std::size_t>(step.missing);
  // A run whose gaps would outnumber its points by more than a day is mostly
  // nothing (a stream whose time keeps leaping ahead): it ends there, so the
  // gaps held stay within the data read plus a day.
  if (step.kind == analysis::PhaseGaps::Kind::Restart ||
      runMissing_ + missing > runPoints_ + static_cast<std::size_t>(analysis::PhaseGaps::kMaxGapSeconds)) {
    endRun();
    missing = 0;
  }
  // Missing seconds stay missing; so does a value that is not a number.
  constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
  raw_.insert(raw_.end(), missing, kMissing);
  corrected_.insert(corrected_.end(), missing, kMissing);
  raw_.push_back(std::isfinite(step.point.raw) ? step.point.raw : kMissing);
  corrected_.push_back(std::isfinite(step.point.corrected) ? step.point.corrected : kMissing);
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
  const analysis::StabilityResult raw = analysis::ComputeStability(bestRaw_);
  const analysis::StabilityResult corrected = analysis::ComputeStability(bestCorrected_);
  if (format == DecodeFormat::Csv) {
    // Line by line: the output takes one line at a time.
    const std::string csv = analysis::StabilityCsv(raw, corrected);
    for (std::size_t at = 0; at < csv.size();) {
      const std::size_t end = csv.find('\n', at) + 1;
      out.append(std::string_view(csv).substr(at, end - at));
      at = end;
    }
    return;
  }
  const auto columns = analysis::StabilityColumns();
  const auto rows = analysis::StabilityRows(raw, corrected);
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
        // Aligned: each column as wide as its name and then some.
        const std::size_t width = std::max<std::size_t>(columns[i].name.size() + 2, 14);
        line.append(cells[i]);
        if (i + 1 < columns.size()) line.append(cells[i].size() < width ? width - cells[i].size() : 1, ' ');
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
