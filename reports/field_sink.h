// A report's field description, as the layouts give it for headless use:
// each field by name, with its unit (empty for a count, code or flag) and its
// value. Names and units are literals that outlive the sink; text values are
// copied in. Kept as plain data with inline writes, so describing a report
// costs no call per field.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace halvix::reports {

enum class FieldType : std::uint8_t {
  Integer,
  Single,  // a single on the wire: shortest text that reads back as that float
  Double,
  Text,
};

struct DescribedField {
  constexpr DescribedField() = default;
  // One row of a table-driven description: the field's type, name, value and unit.
  template <class T>
  constexpr DescribedField(FieldType t, std::string_view n, T v, std::string_view u = {})
      : name(n), unit(u), type(t) {
    if (t == FieldType::Integer) {
      integer = static_cast<std::int64_t>(v);
    } else {
      number = static_cast<double>(v);
    }
  }

  std::string_view name;
  std::string_view unit;
  FieldType type = FieldType::Integer;
  std::int64_t integer = 0;
  double number = 0;
  std::uint32_t textStart = 0;
  std::uint32_t textLength = 0;
};
// One row of a table given to FieldSink::rows().
using FieldRow = DescribedField;

class FieldSink {
 public:
  static constexpr int kMaxFields = 40;

  FieldSink() { texts_.reserve(4096); }

  void clear() {
    count_ = 0;
    texts_.clear();
  }
  void integer(std::string_view name, std::int64_t value, std::string_view unit = {}) {
    next(name, unit, FieldType::Integer).integer = value;
  }
  // A single on the wire, widened.
  void single(std::string_view name, double value, std::string_view unit = {}) {
    next(name, unit, FieldType::Single).number = value;
  }
  void number(std::string_view name, double value, std::string_view unit = {}) {
    next(name, unit, FieldType::Double).number = value;
  }
  // Number fields in table order. Each row is written straight into its slot,
  // so a described report costs no more than a call per field would.
  template <std::size_t N>
  void rows(const FieldRow (&list)[N]) {
    put(list, std::make_index_sequence<N>{});
  }
  void text(std::string_view name, std::string_view value) {
    const std::size_t start = texts_.size();
    texts_.append(value);
    DescribedField& f = next(name, {}, FieldType::Text);
    f.textStart = static_cast<std::uint32_t>(start);
    f.textLength = static_cast<std::uint32_t>(value.size());
  }

  int count() const { return count_; }
  const DescribedField& field(int i) const { return fields_[static_cast<std::size_t>(i)]; }
  std::string_view text(const DescribedField& f) const {
    return std::string_view(texts_).substr(f.textStart, f.textLength);
  }

 private:
  template <std::size_t N, std::size_t... I>
  void put(const FieldRow (&list)[N], std::index_sequence<I...>) {
    if (static_cast<std::size_t>(count_) + N <= fields_.size()) {
      DescribedField* f = fields_.data() + count_;
      count_ += static_cast<int>(N);
      ((f[I] = list[I]), ...);
      return;
    }
    ((next(list[I].name, list[I].unit, list[I].type) = list[I]), ...);
  }
  DescribedField& next(std::string_view name, std::string_view unit, FieldType type) {
    // Every layout has fewer fields than the table holds; the last slot is reused rather than overrun.
    DescribedField& f = fields_[static_cast<std::size_t>(count_ < kMaxFields ? count_++ : kMaxFields - 1)];
    f.name = name;
    f.unit = unit;
    f.type = type;
    return f;
  }

  int count_ = 0;
  std::array<DescribedField, kMaxFields> fields_{};
  std::string texts_;
};

}  // namespace halvix::reports
