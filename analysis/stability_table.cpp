#include "analysis/stability_table.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace halvix::analysis {

namespace {

// The first nine columns are the table's original ones, in their order, so
// scripts that read them by position keep working.
constexpr StabilityColumn kColumns[] = {
    {"tau_s"},           {"adev"},           {"adev_corrected"},    {"adev_terms"},
    {"mdev"},            {"mdev_corrected"}, {"tdev_s"},            {"tdev_corrected_s"},
    {"mdev_terms"},      {"hdev"},           {"hdev_corrected"},    {"hdev_terms"},
    {"noise", true},     {"noise_corrected", true},
    {"adev_lo"},         {"adev_hi"},        {"adev_corrected_lo"}, {"adev_corrected_hi"},
    {"mdev_lo"},         {"mdev_hi"},        {"mdev_corrected_lo"}, {"mdev_corrected_hi"},
    {"tdev_lo"},         {"tdev_hi"},        {"tdev_corrected_lo"}, {"tdev_corrected_hi"},
    {"hdev_lo"},         {"hdev_hi"},        {"hdev_corrected_lo"}, {"hdev_corrected_hi"},
    {"adev_skipped"},    {"mdev_skipped"},   {"hdev_skipped"},
};

void AppendCount(std::string& s, std::size_t v) {
  char buf[24];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

}  // namespace

std::span<const StabilityColumn> StabilityColumns() { return kColumns; }

void AppendNumber(std::string& s, double v) {
  char buf[40];
  s.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 8).ptr);
}

std::vector<std::vector<std::string>> StabilityRows(const StabilityResult& raw,
                                                    const StabilityResult& corrected) {
  const std::size_t rows = std::min({raw.adev.size(), raw.mdev.size(), raw.tdev.size(),
                                     raw.hdev.size(), corrected.adev.size(),
                                     corrected.mdev.size(), corrected.tdev.size(),
                                     corrected.hdev.size()});
  std::vector<std::vector<std::string>> out;
  out.reserve(rows);
  for (std::size_t k = 0; k < rows; ++k) {
    const DeviationPoint &a = raw.adev[k], &ac = corrected.adev[k];
    const DeviationPoint &m = raw.mdev[k], &mc = corrected.mdev[k];
    const DeviationPoint &t = raw.tdev[k], &tc = corrected.tdev[k];
    const DeviationPoint &h = raw.hdev[k], &hc = corrected.hdev[k];
    std::vector<std::string> cells(std::size(kColumns));
    std::size_t c = 0;
    const auto num = [&](double v) { AppendNumber(cells[c++], v); };
    const auto count = [&](std::size_t v) { AppendCount(cells[c++], v); };
    const auto word = [&](NoiseType n) { cells[c++] = std::string(NoiseName(n)); };
    num(a.tau), num(a.value), num(ac.value), count(a.terms);
    num(m.value), num(mc.value), num(t.value), num(tc.value), count(m.terms);
    num(h.value), num(hc.value), count(h.terms);
    word(a.noise), word(ac.noise);
    for (const DeviationPoint* p : {&a, &ac, &m, &mc, &t, &tc, &h, &hc}) num(p->low), num(p->high);
    count(a.skipped), count(m.skipped), count(h.skipped);
    out.push_back(std::move(cells));
  }
  return out;
}

std::string StabilityCsv(const StabilityResult& raw, const StabilityResult& corrected) {
  std::string out;
  const auto line = [&out](std::size_t cells, const auto& cell) {
    for (std::size_t i = 0; i < cells; ++i) {
      if (i > 0) out.push_back(',');
      out.append(cell(i));
    }
    out.push_back('\n');
  };
  line(std::size(kColumns), [](std::size_t i) { return kColumns[i].name; });
  for (const std::vector<std::string>& row : StabilityRows(raw, corrected)) {
    line(row.size(), [&row](std::size_t i) -> const std::string& { return row[i]; });
  }
  return out;
}

}  // namespace halvix::analysis
