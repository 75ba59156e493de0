// The self-survey: averages position fixes until it has the number the
// survey length asks for, then the receiver holds that position.
#pragma once

#include <cstdint>

#include "sim/geodesy.h"

namespace halvix::sim {

class Survey {
 public:
  void start(std::int32_t length);
  void stop() { active_ = false; }
  bool active() const { return active_; }
  // Adds count fixes at position p; true when this completed the survey.
  bool addFixes(double count, const Lla& p);
  // 0..100; 100 once complete.
  int progress() const;
  // Mean of the fixes so far.
  Lla average() const;
  bool hasFixes() const { return fixes_ > 0.0; }

 private:
  bool active_ = false;
  bool complete_ = false;
  double fixes_ = 0.0;
  std::int32_t length_ = 0;
  double sumLat_ = 0.0, sumLon_ = 0.0, sumAlt_ = 0.0;
};

}  // namespace halvix::sim
