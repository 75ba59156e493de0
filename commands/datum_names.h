// The receiver's geodetic datums by number: the Select Datum list shows them
// in this order, and the item index is the number sent and reported.
#pragma once

#include <array>

namespace halvix::commands {

inline constexpr int kDatumCount = 180;

const std::array<const char*, kDatumCount>& DatumNames();

}  // namespace halvix::commands
