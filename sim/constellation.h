// The satellites actually in the simulated sky: 32 orbits in six planes,
// propagated from almanac-style elements. The receiver's stored almanac is
// separate data (system_data.h); this is the truth it tracks.
#pragma once

#include <array>
#include <cstdint>

#include "sim/geodesy.h"

namespace halvix::sim {

class RandomSource;

struct OrbitElements {
  int week = 0;               // reference week of toa
  double toa = 0.0;           // seconds into that week
  double eccentricity = 0.0;
  double inclination = 0.0;   // radians
  double omegaDot = 0.0;      // rate of right ascension, rad/s
  double sqrtA = 0.0;         // square root of the semi-major axis, m^0.5
  double omega0 = 0.0;        // longitude of the ascending node at the week's start, rad
  double perigee = 0.0;       // argument of perigee, rad
  double meanAnomaly = 0.0;   // at toa, rad
  std::uint8_t health = 0;    // 0 healthy
};

class Constellation {
 public:
  static constexpr int kSatellites = 32;

  // Orbits referenced to an almanac epoch near gpsSeconds.
  Constellation(std::int64_t gpsSeconds, RandomSource& random);

  static bool ValidSv(int sv) { return sv >= 1 && sv <= kSatellites; }
  // sv 1..32; anything else gives the elements of SV 1.
  const OrbitElements& orbit(int sv) const;
  Ecef position(int sv, double gpsSeconds) const;

 private:
  std::array<OrbitElements, kSatellites> orbits_{};
};

}  // namespace halvix::sim
