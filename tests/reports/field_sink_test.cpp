// Table-driven field descriptions: each row keeps its type and unit, and the
// integers of every wire width come through exact.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

#include "reports/field_sink.h"

using namespace halvix::reports;

TEST(FieldSinkRows, KeepTypeUnitAndExactIntegers) {
  const std::int8_t mode = -128;
  const std::uint32_t mask = 0xFFFFFFFFu;
  const std::int32_t length = std::numeric_limits<std::int32_t>::min();
  FieldSink o;
  o.rows({{FieldType::Integer, "mode", mode},
          {FieldType::Integer, "mask", mask},
          {FieldType::Integer, "length", length, "fixes"},
          {FieldType::Integer, "enabled", true},
          {FieldType::Single, "pdop", 1.5f},
          {FieldType::Double, "latitude", -0.125, "deg"}});

  struct Expected {
    std::string_view name, unit;
    FieldType type;
    std::int64_t integer;
    double number;
  };
  const Expected expected[] = {
      {"mode", "", FieldType::Integer, -128, 0},
      {"mask", "", FieldType::Integer, 4294967295, 0},
      {"length", "fixes", FieldType::Integer, -2147483648LL, 0},
      {"enabled", "", FieldType::Integer, 1, 0},
      {"pdop", "", FieldType::Single, 0, 1.5},
      {"latitude", "deg", FieldType::Double, 0, -0.125},
  };
  ASSERT_EQ(o.count(), 6);
  for (int i = 0; i < o.count(); ++i) {
    const Expected& e = expected[i];
    const DescribedField& f = o.field(i);
    SCOPED_TRACE(e.name);
    EXPECT_EQ(f.name, e.name);
    EXPECT_EQ(f.unit, e.unit);
    EXPECT_EQ(f.type, e.type);
    if (e.type == FieldType::Integer) {
      EXPECT_EQ(f.integer, e.integer);
    } else {
      EXPECT_EQ(f.number, e.number);
    }
  }
}

TEST(FieldSinkRows, MoreRowsThanSlotsReuseTheLastOne) {
  FieldSink o;
  for (int i = 0; i < FieldSink::kMaxFields + 5; ++i) o.rows({{FieldType::Integer, "n", i}});
  EXPECT_EQ(o.count(), FieldSink::kMaxFields);
  EXPECT_EQ(o.field(FieldSink::kMaxFields - 1).integer, FieldSink::kMaxFields + 4);
  EXPECT_EQ(o.field(0).integer, 0);
}
