// Routing rules of received reports, as plain data: which packets a report
// kind takes (its id, the sub-code in the first payload byte, a length that
// sets it apart, developer mode), and the lookup that picks a packet's kind.
// The rows themselves come from the registry of report kinds above this
// folder; the link only knows how to route on them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace halvix::link {

struct RouteRule {
  // subCode: routed on the id alone.
  static constexpr int kNoSubCode = -1;
  // length: any length the id's other rules do not claim.
  static constexpr int kAnyLength = -1;

  int id = 0;
  int subCode = kNoSubCode;
  int length = kAnyLength;
  bool developerOnly = false;
  std::string_view key;  // "41", "8F-AB", "4A-ALT"
};

class RouteTable {
 public:
  static constexpr int kNoRow = -1;

  RouteTable() { clear(); }
  // A rule that collides with an earlier one (the same id, sub-code or
  // length; an id both plain and sub-coded) is left out with a warning.
  explicit RouteTable(std::span<const RouteRule> rules);

  // The row a packet routes to, developer mode aside; kNoRow when none. A
  // sub-coded id with an empty payload has no sub-code to route on.
  int find(int id, const std::uint8_t* payload, int length) const {
    if (id < 0 || id > 0xFF) return kNoRow;
    const auto i = static_cast<std::size_t>(id);
    const int sub = subTable_[i];
    if (sub >= 0) {
      if (length < 1 || payload == nullptr) return kNoRow;
      return bySubCode_[static_cast<std::size_t>(sub)][payload[0]];
    }
    if (lengthRow_[i] != kNoRow && length == lengthOf_[i]) return lengthRow_[i];
    return byId_[i];
  }

  // True when some rule names this id, or this id and sub-code.
  bool routesId(int id) const;
  bool routesSubCode(int id, int subCode) const;
  // True when this id is routed on its first payload byte.
  bool subCoded(int id) const { return id >= 0 && id <= 0xFF && subTable_[static_cast<std::size_t>(id)] >= 0; }
  // The row whose key this is; kNoRow when none.
  int rowOf(std::string_view key) const;

  int size() const { return static_cast<int>(rules_.size()); }
  const RouteRule& rule(int row) const { return rules_[static_cast<std::size_t>(row)]; }
  std::span<const RouteRule> rules() const { return rules_; }

 private:
  void clear();

  std::vector<RouteRule> rules_;
  std::array<std::int16_t, 256> byId_{};
  std::array<std::int16_t, 256> lengthRow_{};
  std::array<std::int16_t, 256> lengthOf_{};
  std::array<std::int16_t, 256> subTable_{};
  std::vector<std::array<std::int16_t, 256>> bySubCode_;
};

}  // namespace halvix::link
