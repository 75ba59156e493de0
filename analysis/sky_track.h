// Where each tracked satellite is in the sky: the last azimuth, elevation and
// signal level of its tracking report, whether the last selection used it in
// the fix, and a short trail of its earlier positions. A satellite not
// reported for a while has set or been dropped and leaves the sky.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace halvix::analysis {

struct SkyPosition {
  double azimuthDeg = 0;
  double elevationDeg = 0;
};

struct SkySatellite {
  int prn = 0;
  SkyPosition position;
  double signal = 0;  // AMU
  // False while the receiver reports azimuth and elevation both 0: not yet known.
  bool positionKnown = false;
  bool used = false;
  std::int64_t lastSeenMs = 0;
  std::vector<SkyPosition> trail;  // oldest first, the current position not included
  // The position last kept for the trail (or where it starts): small moves
  // add up against it until one is worth a trail point.
  SkyPosition trailFrom;
};

class SkyTrack {
 public:
  static constexpr std::int64_t kStaleMs = 10'000;
  static constexpr std::size_t kTrailLength = 30;
  // A trail point is kept when the satellite has moved this far.
  static constexpr double kTrailStepDeg = 0.5;
  // A move this large is a satellite that set and rose again: a new trail.
  static constexpr double kTrailJumpDeg = 10.0;

  // One tracking report; angles in radians.
  void track(int prn, double azimuthRad, double elevationRad, double signal, std::int64_t nowMs);
  // One selection report: positive satellites are used in the fix.
  void select(std::span<const std::int8_t> satellites);
  // Drops the satellites not reported within kStaleMs.
  void expire(std::int64_t nowMs);
  void clear();

  const std::map<int, SkySatellite>& satellites() const { return satellites_; }
  int trackedCount() const { return static_cast<int>(satellites_.size()); }
  // Satellites of the last selection used in the fix.
  int usedCount() const { return static_cast<int>(used_.size()); }

 private:
  std::map<int, SkySatellite> satellites_;
  std::vector<int> used_;
};

}  // namespace halvix::analysis
