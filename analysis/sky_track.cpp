#include "analysis/sky_track.h"

#include <algorithm>
#include <cmath>

namespace halvix::analysis {

namespace {

constexpr double kDegPerRad = 180.0 / 3.14159265358979323846;

double Wrap360(double deg) {
  const double w = std::fmod(deg, 360.0);
  return w < 0 ? w + 360.0 : w;
}

}  // namespace

void SkyTrack::track(int prn, double azimuthRad, double elevationRad, double signal,
                     std::int64_t nowMs) {
  if (prn <= 0) return;
  const SkyPosition p{Wrap360(azimuthRad * kDegPerRad),
                      std::clamp(elevationRad * kDegPerRad, -90.0, 90.0)};
  const bool known = azimuthRad != 0.0 || elevationRad != 0.0;
  auto [it, fresh] = satellites_.try_emplace(prn);
  SkySatellite& s = it->second;
  if (fresh) {
    s.prn = prn;
    s.used = std::find(used_.begin(), used_.end(), prn) != used_.end();
    s.trailFrom = p;
  } else if (!known || !s.positionKnown) {
    s.trail.clear();
    s.trailFrom = p;
  } else {
    const SkyPosition& from = s.trailFrom;
    const double moved = std::hypot(std::remainder(p.azimuthDeg - from.azimuthDeg, 360.0) *
                                        std::cos(p.elevationDeg / kDegPerRad),
                                    p.elevationDeg - from.elevationDeg);
    if (moved >= kTrailJumpDeg) {
      s.trail.clear();
      s.trailFrom = p;
    } else if (moved >= kTrailStepDeg) {
      s.trail.push_back(from);
      if (s.trail.size() > kTrailLength) s.trail.erase(s.trail.begin());
      s.trailFrom = p;
    }
  }
  s.position = p;
  s.positionKnown = known;
  s.signal = signal;
  s.lastSeenMs = nowMs;
}

void SkyTrack::select(std::span<const std::int8_t> satellites) {
  used_.clear();
  for (std::int8_t sv : satellites) {
    if (sv > 0) used_.push_back(sv);
  }
  for (auto& [prn, s] : satellites_) {
    s.used = std::find(used_.begin(), used_.end(), prn) != used_.end();
  }
}

void SkyTrack::expire(std::int64_t nowMs) {
  std::erase_if(satellites_, [nowMs](const auto& entry) {
    return nowMs - entry.second.lastSeenMs > kStaleMs;
  });
}

void SkyTrack::clear() {
  satellites_.clear();
  used_.clear();
}

}  // namespace halvix::analysis
