#include "tools/decode_stability.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "reports/timing_layouts.h"

namespace halvix::tools {

StabilityCollector::StabilityCollector() = default;

void StabilityCollector::packet(std::int64_t, int id, const std::uint8_t* payload, int length) {
  time_.packet(id, payload, length);
  if (id != 0x8F || length < 1 || payload[0] != 0xAC) return;
  const auto r = reports::DecodeSupplementalTiming(payload, length);
  if (!r) return;
  ++reports_;
  const double raw = r->ppsOffset * 1e-9;
  const double corrected = (static_cast<double>(r->ppsOffset) - r->quantizationError) * 1e-9;
  if (!std::isfinite(raw) || !std::isfinite(corrected)) {
    endRun();
    lastSecond_ = -1;
    return;
  }
  const std::int64_t second = time_.elapsed();
  if (lastSecond_ >= 0) {
    const std::int64_t steps = second - lastSecond_;
    // A second report of the same second is not a new phase point.
    if (steps <= 0) return;
    if (steps > kMaxBridgedSeconds) {
      endRun();
    } else {
      const double lastRaw = raw_.back();
      const double lastCorrected = corrected_.back();
      for (std::int64_t k = 1; k < steps; ++k) {
        const double f = static_cast<double>(k) / static_cast<double>(steps);
        raw_.push_back(lastRaw + f * (raw - lastRaw));
        corrected_.push_back(lastCorrected + f * (corrected - lastCorrected));
      }
    }
  }
  raw_.push_back(raw);
  corrected_.push_back(corrected);
  lastSecond_ = second;
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
}

void StabilityCollector::finish() {
  deframer_.finish();
  endRun();
}

namespace {

void Put(std::string& s, double v) {
  char buf[40];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 8).ptr);
}

void Put(std::string& s, std::size_t v) {
  char buf[24];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

}  // namespace

void StabilityCollector::write(DecodeFormat format, LineOutput& out) const {
  const analysis::StabilityResult raw = analysis::ComputeStability(bestRaw_);
  const analysis::StabilityResult corrected = analysis::ComputeStability(bestCorrected_);
  // The Charts window's stability export has the same columns.
  static constexpr const char* kColumns[] = {"tau_s",  "adev",   "adev_corrected",   "adev_terms",
                                             "mdev",   "mdev_corrected", "tdev_s",
                                             "tdev_corrected_s", "mdev_terms"};
  constexpr std::size_t kCount = sizeof kColumns / sizeof kColumns[0];
  constexpr std::size_t kWidth = 18;
  std::string line;
  const auto row = [&](const std::string (&cells)[kCount]) {
    line.clear();
    if (format == DecodeFormat::JsonLines) {
      line.push_back('{');
      for (std::size_t i = 0; i < kCount; ++i) {
        if (i > 0) line.push_back(',');
        line.push_back('"');
        line.append(kColumns[i]);
        line.append("\":");
        // An empty series has no deviation: null, as for any number that is not finite.
        line.append(cells[i] == "nan" || cells[i] == "inf" || cells[i] == "-inf" ? "null" : cells[i]);
      }
      line.push_back('}');
    } else {
      for (std::size_t i = 0; i < kCount; ++i) {
        if (format == DecodeFormat::Csv) {
          if (i > 0) line.push_back(',');
          line.append(cells[i]);
        } else {
          line.append(cells[i]);
          if (i + 1 < kCount) line.append(cells[i].size() < kWidth ? kWidth - cells[i].size() : 1, ' ');
        }
      }
    }
    line.push_back('\n');
    out.append(line);
  };
  if (format != DecodeFormat::JsonLines) {
    std::string head[kCount];
    for (std::size_t i = 0; i < kCount; ++i) head[i] = kColumns[i];
    row(head);
  }
  const std::size_t rows = std::min({raw.adev.size(), raw.mdev.size(), corrected.adev.size(),
                                     corrected.mdev.size()});
  for (std::size_t k = 0; k < rows; ++k) {
    std::string cells[kCount];
    Put(cells[0], raw.adev[k].tau);
    Put(cells[1], raw.adev[k].value);
    Put(cells[2], corrected.adev[k].value);
    Put(cells[3], raw.adev[k].terms);
    Put(cells[4], raw.mdev[k].value);
    Put(cells[5], corrected.mdev[k].value);
    Put(cells[6], raw.tdev[k].value);
    Put(cells[7], corrected.tdev[k].value);
    Put(cells[8], raw.mdev[k].terms);
    row(cells);
  }
}

std::string StabilityCollector::summary() const {
  std::string s = "8F-AC reports: ";
  Put(s, static_cast<std::size_t>(reports_));
  s.append(", runs: ");
  Put(s, static_cast<std::size_t>(runs_));
  s.append(", phase points analysed: ");
  Put(s, bestRaw_.size());
  s.append(", problems: ");
  Put(s, static_cast<std::size_t>(problems_));
  s.push_back('\n');
  // A deviation at 1 s wants four phase points at least.
  if (bestRaw_.size() < 4) s.append("too few phase points for a deviation\n");
  return s;
}

}  // namespace halvix::tools
