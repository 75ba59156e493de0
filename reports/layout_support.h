// Small helpers shared by the report layout files.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace halvix::reports::detail {

// A payload is usable when it exists and has exactly the layout's length.
inline bool HasExactLength(const std::uint8_t* payload, int length, int expected) {
  return payload != nullptr && length == expected;
}

// Text of a fixed table entry, or the fallback for any index outside the table.
inline QString TableText(std::initializer_list<const char*> table, int index,
                         const char* fallback) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
    return QString::fromLatin1(fallback);
  }
  return QString::fromLatin1(table.begin()[index]);
}

}  // namespace halvix::reports::detail
