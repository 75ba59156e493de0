#include "sim/geodesy.h"

#include <cmath>
#include <numbers>

namespace halvix::sim {
namespace {

constexpr double kA = 6378137.0;
constexpr double kF = 1.0 / 298.257223563;
constexpr double kE2 = kF * (2.0 - kF);

}  // namespace

Ecef ToEcef(const Lla& p) {
  const double s = std::sin(p.latitude);
  const double n = kA / std::sqrt(1.0 - kE2 * s * s);
  const double c = std::cos(p.latitude);
  return {(n + p.altitude) * c * std::cos(p.longitude), (n + p.altitude) * c * std::sin(p.longitude),
          (n * (1.0 - kE2) + p.altitude) * s};
}

Lla ToLla(const Ecef& p) {
  const double r = std::hypot(p.x, p.y);
  Lla out;
  out.longitude = std::atan2(p.y, p.x);
  if (r < 1e-3) {
    // On the axis: the iteration below would divide by cos(latitude) = 0.
    out.latitude = p.z >= 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
    out.altitude = std::fabs(p.z) - kA * (1.0 - kF);
    return out;
  }
  double lat = std::atan2(p.z, r * (1.0 - kE2));
  double h = 0.0;
  for (int i = 0; i < 6; ++i) {
    const double s = std::sin(lat);
    const double n = kA / std::sqrt(1.0 - kE2 * s * s);
    h = r / std::cos(lat) - n;
    lat = std::atan2(p.z, r * (1.0 - kE2 * n / (n + h)));
  }
  out.latitude = lat;
  out.altitude = h;
  return out;
}

Enu ToEnu(const Lla& o, const Ecef& from, const Ecef& to) {
  const double dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
  const double sl = std::sin(o.latitude), cl = std::cos(o.latitude);
  const double so = std::sin(o.longitude), co = std::cos(o.longitude);
  return {-so * dx + co * dy, -sl * co * dx - sl * so * dy + cl * dz, cl * co * dx + cl * so * dy + sl * dz};
}

double ElevationOf(const Enu& v) { return std::atan2(v.up, std::hypot(v.east, v.north)); }

double AzimuthOf(const Enu& v) {
  double az = std::atan2(v.east, v.north);
  if (az < 0) az += 2.0 * std::numbers::pi;
  return az;
}

Lla Offset(const Lla& p, const Enu& d) {
  const double s = std::sin(p.latitude);
  const double n = kA / std::sqrt(1.0 - kE2 * s * s);
  const double m = kA * (1.0 - kE2) / std::pow(1.0 - kE2 * s * s, 1.5);
  Lla out = p;
  out.latitude += d.north / (m + p.altitude);
  out.longitude += d.east / ((n + p.altitude) * std::cos(p.latitude));
  out.altitude += d.up;
  return out;
}

}  // namespace halvix::sim
