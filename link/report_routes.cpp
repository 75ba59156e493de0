#include "link/report_routes.h"

#include <QDebug>

namespace halvix::link {

void RouteTable::clear() {
  byId_.fill(kNoRow);
  lengthRow_.fill(kNoRow);
  lengthOf_.fill(-1);
  subTable_.fill(-1);
  bySubCode_.clear();
}

RouteTable::RouteTable(std::span<const RouteRule> rules) : rules_(rules.begin(), rules.end()) {
  clear();
  const auto complain = [](const RouteRule& r) {
    qWarning().noquote() << "Report routes: rule" << QString::fromLatin1(r.key.data(), static_cast<qsizetype>(r.key.size()))
                         << "is unusable or taken; ignored";
  };
  // In row order: an id is either plain or sub-coded, as its first rule says.
  for (std::size_t row = 0; row < rules_.size(); ++row) {
    const RouteRule& r = rules_[row];
    const auto slot = static_cast<std::int16_t>(row);
    if (r.id < 0 || r.id > 0xFF) {
      complain(r);
      continue;
    }
    const auto i = static_cast<std::size_t>(r.id);
    const bool plain = byId_[i] != kNoRow || lengthRow_[i] != kNoRow;
    if (r.subCode != RouteRule::kNoSubCode) {
      if (plain || r.subCode < 0 || r.subCode > 0xFF) {
        complain(r);
        continue;
      }
      if (subTable_[i] < 0) {
        subTable_[i] = static_cast<std::int16_t>(bySubCode_.size());
        bySubCode_.emplace_back().fill(kNoRow);
      }
      std::int16_t& entry = bySubCode_[static_cast<std::size_t>(subTable_[i])][static_cast<std::size_t>(r.subCode)];
      if (entry == kNoRow) {
        entry = slot;
      } else {
        complain(r);
      }
    } else if (subTable_[i] >= 0) {
      complain(r);
    } else if (r.length == RouteRule::kAnyLength && byId_[i] == kNoRow) {
      byId_[i] = slot;
    } else if (r.length >= 0 && r.length <= 0x7FFF && lengthRow_[i] == kNoRow) {
      lengthRow_[i] = slot;
      lengthOf_[i] = static_cast<std::int16_t>(r.length);
    } else {
      complain(r);
    }
  }
}

bool RouteTable::routesId(int id) const {
  if (id < 0 || id > 0xFF) return false;
  const auto i = static_cast<std::size_t>(id);
  return byId_[i] != kNoRow || lengthRow_[i] != kNoRow || subTable_[i] >= 0;
}

bool RouteTable::routesSubCode(int id, int subCode) const {
  if (id < 0 || id > 0xFF || subCode < 0 || subCode > 0xFF) return false;
  const int table = subTable_[static_cast<std::size_t>(id)];
  if (table < 0) return false;
  return bySubCode_[static_cast<std::size_t>(table)][static_cast<std::size_t>(subCode)] != kNoRow;
}

int RouteTable::rowOf(std::string_view key) const {
  for (std::size_t row = 0; row < rules_.size(); ++row) {
    if (rules_[row].key == key) return static_cast<int>(row);
  }
  return kNoRow;
}

}  // namespace halvix::link
