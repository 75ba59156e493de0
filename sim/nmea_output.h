// NMEA 0183 sentences for a port whose output protocol is NMEA: the
// receiver's fix, time and satellites as text, chosen by the message mask.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/geodesy.h"
#include "sim/gps_time.h"

namespace halvix::sim {

struct NmeaSatellite {
  int sv = 0;
  int elevation = 0;  // degrees
  int azimuth = 0;    // degrees
  int snr = 0;        // dB-Hz
};

struct NmeaFix {
  CalendarTime utc;
  bool valid = false;
  Lla position;
  float pdop = 99.0f, hdop = 99.0f, vdop = 99.0f;
  std::vector<int> used;
  std::vector<NmeaSatellite> inView;
};

// Mask bits: 0 GGA, 1 GLL, 2 VTG, 3 GSV, 4 GSA, 5 ZDA, 8 RMC. Each sentence
// ends in its checksum and CR LF.
std::string NmeaSentences(const NmeaFix& fix, std::uint32_t mask);

}  // namespace halvix::sim
