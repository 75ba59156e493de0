#include "sim/survey.h"

#include <algorithm>
#include <cmath>

namespace halvix::sim {

void Survey::start(std::int32_t length) {
  *this = Survey{};
  active_ = true;
  length_ = std::max<std::int32_t>(0, length);
}

bool Survey::addFixes(double count, const Lla& p) {
  if (!active_ || count <= 0.0) return false;
  fixes_ += count;
  sumLat_ += p.latitude * count;
  sumLon_ += p.longitude * count;
  sumAlt_ += p.altitude * count;
  if (fixes_ >= static_cast<double>(length_)) {
    active_ = false;
    complete_ = true;
    return true;
  }
  return false;
}

int Survey::progress() const {
  if (complete_) return 100;
  if (length_ <= 0) return 0;
  return std::clamp(static_cast<int>(std::floor(fixes_ * 100.0 / length_)), 0, 99);
}

Lla Survey::average() const {
  if (fixes_ <= 0.0) return {};
  return {sumLat_ / fixes_, sumLon_ / fixes_, sumAlt_ / fixes_};
}

}  // namespace halvix::sim
