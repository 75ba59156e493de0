// The stability table as written by halvix-decode --adev and the Charts
// window's stability export: one row per tau, raw and quantization-corrected
// deviations with their terms, intervals, noise type and terms left out at
// gaps. Numbers are written with std::to_chars, so the operator's locale
// cannot turn a decimal point into a comma.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/stability.h"

namespace halvix::analysis {

struct StabilityColumn {
  std::string_view name;
  bool text = false;  // a word (the noise type), not a number
};
std::span<const StabilityColumn> StabilityColumns();

// Cells in column order; "nan" where a deviation has no terms.
std::vector<std::vector<std::string>> StabilityRows(const StabilityResult& raw,
                                                    const StabilityResult& corrected);

// The table as CSV: the column names, then one line per row.
std::string StabilityCsv(const StabilityResult& raw, const StabilityResult& corrected);

// A number as the table writes it: shortest form to 8 significant digits.
void AppendNumber(std::string& s, double v);

}  // namespace halvix::analysis
