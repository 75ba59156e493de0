#include "sim/constellation.h"

#include <cmath>
#include <numbers>

#include "sim/gps_time.h"
#include "sim/random_source.h"

namespace halvix::sim {
namespace {

constexpr double kMu = 3.986005e14;           // m^3/s^2
constexpr double kEarthRate = 7.2921151467e-5;  // rad/s
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kPlanes = 6;
// One satellite is flagged unhealthy, as a real constellation usually has one.
constexpr int kUnhealthySv = 30;

}  // namespace

Constellation::Constellation(std::int64_t gpsSeconds, RandomSource& random) {
  // Almanac reference time: a multiple of 4096 s a little ahead of now.
  const std::int64_t toaAbs = (gpsSeconds / 4096 + 20) * 4096;
  for (int k = 0; k < kSatellites; ++k) {
    OrbitElements& o = orbits_[static_cast<std::size_t>(k)];
    const int plane = k % kPlanes;
    const int slot = k / kPlanes;
    const int inPlane = plane < kSatellites % kPlanes ? kSatellites / kPlanes + 1 : kSatellites / kPlanes;
    o.week = static_cast<int>(WeekOf(toaAbs));
    o.toa = static_cast<double>(TimeOfWeekOf(toaAbs));
    o.eccentricity = random.uniform(0.002, 0.018);
    o.inclination = (55.0 + random.uniform(-1.5, 1.5)) * std::numbers::pi / 180.0;
    o.omegaDot = -8.0e-9 + random.uniform(-4e-10, 4e-10);
    o.sqrtA = 5153.6 + random.uniform(-0.8, 0.8);
    o.omega0 = std::fmod(plane * kTwoPi / kPlanes + random.uniform(-0.05, 0.05) + kTwoPi, kTwoPi) -
               std::numbers::pi;
    o.perigee = random.uniform(-std::numbers::pi, std::numbers::pi);
    o.meanAnomaly = std::fmod(slot * kTwoPi / inPlane + plane * 0.52 + random.uniform(-0.1, 0.1), kTwoPi) -
                    std::numbers::pi;
    o.health = (k + 1) == kUnhealthySv ? 0x3F : 0x00;
  }
}

const OrbitElements& Constellation::orbit(int sv) const {
  return orbits_[ValidSv(sv) ? static_cast<std::size_t>(sv - 1) : 0];
}

Ecef Constellation::position(int sv, double t) const {
  const OrbitElements& o = orbit(sv);
  const double a = o.sqrtA * o.sqrtA;
  const double n0 = std::sqrt(kMu / (a * a * a));
  const double tk = t - (o.week * static_cast<double>(kSecondsPerWeek) + o.toa);
  const double m = o.meanAnomaly + n0 * tk;
  double e = m;
  for (int i = 0; i < 8; ++i) e = m + o.eccentricity * std::sin(e);
  const double nu = std::atan2(std::sqrt(1.0 - o.eccentricity * o.eccentricity) * std::sin(e),
                               std::cos(e) - o.eccentricity);
  const double phi = nu + o.perigee;
  const double r = a * (1.0 - o.eccentricity * std::cos(e));
  const double xp = r * std::cos(phi);
  const double yp = r * std::sin(phi);
  const double node = o.omega0 + (o.omegaDot - kEarthRate) * tk - kEarthRate * o.toa;
  const double ci = std::cos(o.inclination), si = std::sin(o.inclination);
  return {xp * std::cos(node) - yp * ci * std::sin(node), xp * std::sin(node) + yp * ci * std::cos(node),
          yp * si};
}

}  // namespace halvix::sim
