// The receiver's twelve tracking channels: which satellites are in view,
// which channels hold them, signal levels, ephemeris collection, the
// selection of satellites used for fixes and the resulting DOPs.
#pragma once

#include <array>
#include <cstdint>

#include "sim/constellation.h"
#include "sim/geodesy.h"

namespace halvix::sim {

class RandomSource;
struct ReceiverSettings;

struct SatelliteView {
  double elevation = 0.0;   // radians
  double azimuth = 0.0;     // radians from north
  double range = 0.0;       // metres
  double rangeRate = 0.0;   // m/s
};

struct Ephemeris {
  bool valid = false;
  double expiresAt = 0.0;       // world seconds
  float collectedTow = 0.0f;
  std::uint8_t iode = 0;
  float toe = 0.0f;
  float accuracy = 2.0f;        // URA, metres
};

struct Channel {
  int sv = 0;                   // 0: empty
  bool acquired = false;
  double acquireAt = 0.0;       // world seconds
  double ephemerisAt = 0.0;     // world seconds when its ephemeris will be complete
  float signal = 0.0f;          // AMU
  float lastMeasurement = 0.0f; // time of week of the last measurement, s
  bool used = false;
  bool rejected = false;        // flagged by the integrity check
};

struct Dops {
  float pdop = 99.0f;
  float hdop = 99.0f;
  float vdop = 99.0f;
  float tdop = 99.0f;
};

class Tracker {
 public:
  static constexpr int kChannels = 12;

  // Empties the channels; ephemerides survive only when kept.
  void restart(bool keepEphemeris);
  // Advances tracking to worldSeconds. tow is the time of week measurements
  // are stamped with; haveAlmanac tells whether an SV can be searched for
  // directly rather than blindly.
  void step(double worldSeconds, float tow, const Constellation& sky, const Lla& site,
            const ReceiverSettings& masks, const std::array<bool, 33>& haveAlmanac, RandomSource& random);

  const std::array<Channel, kChannels>& channels() const { return channels_; }
  // sv 1..32; anything else gives an empty view.
  const SatelliteView& view(int sv) const;
  const Ephemeris& ephemeris(int sv) const;
  // The channel holding sv, or -1.
  int channelOf(int sv) const;
  int usedCount() const;
  int acquiredCount() const;
  // Seconds since the first channel locked, or a negative value before that.
  double lockedFor(double worldSeconds) const;
  Dops dops() const { return dops_; }
  bool satelliteUsable(int sv) const;

 private:
  void computeDops();

  std::array<Channel, kChannels> channels_{};
  std::array<SatelliteView, Constellation::kSatellites + 1> views_{};
  std::array<Ephemeris, Constellation::kSatellites + 1> ephemerides_{};
  std::array<std::uint8_t, Constellation::kSatellites + 1> iodes_{};
  double firstLockAt_ = -1.0;
  double rejectUntil_ = 0.0;
  int rejectedSv_ = 0;
  Dops dops_;
};

}  // namespace halvix::sim
