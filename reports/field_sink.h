// Where a report's field description goes: each field by name, with its unit
// (empty for a count, code or flag) and its value. Names and units are
// literals that outlive the call; a text value is valid only during it.
#pragma once

#include <cstdint>
#include <string_view>

namespace halvix::reports {

class FieldSink {
 public:
  virtual ~FieldSink() = default;
  virtual void integer(std::string_view name, std::int64_t value, std::string_view unit) = 0;
  // A single on the wire, widened.
  virtual void single(std::string_view name, double value, std::string_view unit) = 0;
  virtual void number(std::string_view name, double value, std::string_view unit) = 0;
  virtual void text(std::string_view name, std::string_view value) = 0;

  void integer(std::string_view name, std::int64_t value) { integer(name, value, {}); }
  void single(std::string_view name, double value) { single(name, value, {}); }
};

}  // namespace halvix::reports
