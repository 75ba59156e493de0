// Small helpers shared by the report layout files.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "link/field_codec.h"
#include "reports/field_sink.h"

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

// Consecutive fields of one wire type from p on: bytes, singles or doubles.
template <class... T>
void GetBytes(const std::uint8_t* p, T&... out) {
  ((out = *p++), ...);
}
template <class... T>
void GetSingles(const std::uint8_t* p, T&... out) {
  ((out = link::GetSingle(p), p += 4), ...);
}
template <class... T>
void GetDoubles(const std::uint8_t* p, T&... out) {
  ((out = link::GetDouble(p), p += 8), ...);
}

// Angles travel in radians; field descriptions give them in degrees with the
// windows' factor. An angle sent as a single is described as a single too.
inline double Degrees(double radians) { return radians * 57.295827908797776; }

// Field groups several reports share, as singles or doubles.
inline void DescribeXyz(FieldSink& o, FieldType type, double x, double y, double z,
                        std::string_view unit) {
  o.rows({{type, "x", x, unit}, {type, "y", y, unit}, {type, "z", z, unit}});
}
inline void DescribeLla(FieldSink& o, FieldType type, double latitude, double longitude,
                        double altitude) {
  o.rows({{type, "latitude", Degrees(latitude), "deg"},
          {type, "longitude", Degrees(longitude), "deg"},
          {type, "altitude", altitude, "m"}});
}

// Field names of numbered entries: "sv1".."sv32", "channel1".."channel8".
inline constexpr std::string_view kSvFieldNames[32] = {
    "sv1",  "sv2",  "sv3",  "sv4",  "sv5",  "sv6",  "sv7",  "sv8",  "sv9",  "sv10", "sv11",
    "sv12", "sv13", "sv14", "sv15", "sv16", "sv17", "sv18", "sv19", "sv20", "sv21", "sv22",
    "sv23", "sv24", "sv25", "sv26", "sv27", "sv28", "sv29", "sv30", "sv31", "sv32"};
inline constexpr std::string_view kChannelFieldNames[8] = {
    "channel1", "channel2", "channel3", "channel4", "channel5", "channel6", "channel7", "channel8"};

}  // namespace halvix::reports::detail
