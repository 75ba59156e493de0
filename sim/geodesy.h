// WGS-84 coordinates for the simulated receiver: geodetic and earth-centred
// positions, and the look angles from the antenna to a satellite.
#pragma once

namespace halvix::sim {

struct Lla {
  double latitude = 0.0;   // radians
  double longitude = 0.0;  // radians
  double altitude = 0.0;   // metres above the ellipsoid
};

struct Ecef {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

struct Enu {
  double east = 0.0;
  double north = 0.0;
  double up = 0.0;
};

Ecef ToEcef(const Lla& p);
Lla ToLla(const Ecef& p);
// Components of the vector from observer to target in the observer's local frame.
Enu ToEnu(const Lla& observer, const Ecef& from, const Ecef& to);
// Elevation and azimuth (radians, azimuth 0..2pi from north) of an ENU vector.
double ElevationOf(const Enu& v);
double AzimuthOf(const Enu& v);
// Moves a position by metres east, north and up.
Lla Offset(const Lla& p, const Enu& d);

}  // namespace halvix::sim
