#include "sim/tracker.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "sim/configuration.h"
#include "sim/random_source.h"

namespace halvix::sim {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// A satellite below this is lost; one above the horizon is worth a channel.
constexpr double kLossElevation = -1.0 * kDegree;
constexpr double kAssignElevation = 0.5 * kDegree;
constexpr double kEphemerisLife = 4.0 * 3600.0;

// Gauss-Jordan inverse of a symmetric 4x4 matrix; false when singular.
bool Invert4(std::array<std::array<double, 4>, 4>& m) {
  std::array<std::array<double, 8>, 4> a{};
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) a[r][c] = m[r][c];
    a[r][4 + r] = 1.0;
  }
  for (std::size_t c = 0; c < 4; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    if (std::fabs(a[pivot][c]) < 1e-12) return false;
    std::swap(a[c], a[pivot]);
    const double d = a[c][c];
    for (double& v : a[c]) v /= d;
    for (std::size_t r = 0; r < 4; ++r) {
      if (r == c) continue;
      const double f = a[r][c];
      for (std::size_t k = 0; k < 8; ++k) a[r][k] -= f * a[c][k];
    }
  }
  for (std::size_t r = 0; r < 4; ++r)
    for (std::size_t c = 0; c < 4; ++c) m[r][c] = a[r][4 + c];
  return true;
}

}  // namespace

void Tracker::restart(bool keepEphemeris) {
  channels_ = {};
  if (!keepEphemeris) ephemerides_ = {};
  firstLockAt_ = -1.0;
  rejectUntil_ = 0.0;
  rejectedSv_ = 0;
  dops_ = Dops{};
}

const SatelliteView& Tracker::view(int sv) const {
  return views_[Constellation::ValidSv(sv) ? static_cast<std::size_t>(sv) : 0];
}

const Ephemeris& Tracker::ephemeris(int sv) const {
  return ephemerides_[Constellation::ValidSv(sv) ? static_cast<std::size_t>(sv) : 0];
}

int Tracker::channelOf(int sv) const {
  for (int c = 0; c < kChannels; ++c)
    if (sv != 0 && channels_[static_cast<std::size_t>(c)].sv == sv) return c;
  return -1;
}

int Tracker::usedCount() const {
  return static_cast<int>(std::count_if(channels_.begin(), channels_.end(), [](const Channel& c) { return c.used; }));
}

int Tracker::acquiredCount() const {
  return static_cast<int>(
      std::count_if(channels_.begin(), channels_.end(), [](const Channel& c) { return c.sv != 0 && c.acquired; }));
}

double Tracker::lockedFor(double worldSeconds) const {
  return firstLockAt_ < 0 ? -1.0 : worldSeconds - firstLockAt_;
}

bool Tracker::satelliteUsable(int sv) const {
  const int c = channelOf(sv);
  return c >= 0 && channels_[static_cast<std::size_t>(c)].used;
}

void Tracker::step(double now, float tow, const Constellation& sky, const Lla& site, const ReceiverSettings& masks,
                   const std::array<bool, 33>& haveAlmanac, RandomSource& random) {
  const Ecef here = ToEcef(site);
  for (int sv = 1; sv <= Constellation::kSatellites; ++sv) {
    const Ecef p0 = sky.position(sv, now);
    const Ecef p1 = sky.position(sv, now + 1.0);
    const Enu v = ToEnu(site, here, p0);
    SatelliteView& view = views_[static_cast<std::size_t>(sv)];
    view.elevation = ElevationOf(v);
    view.azimuth = AzimuthOf(v);
    const double r0 = std::sqrt(v.east * v.east + v.north * v.north + v.up * v.up);
    const Enu v1 = ToEnu(site, here, p1);
    view.range = r0;
    view.rangeRate = std::sqrt(v1.east * v1.east + v1.north * v1.north + v1.up * v1.up) - r0;
  }

  // Satellites that have set free their channels.
  for (Channel& ch : channels_) {
    if (ch.sv != 0 && view(ch.sv).elevation < kLossElevation) ch = Channel{};
  }
  // Free channels take the highest satellites not yet tracked.
  std::vector<int> candidates;
  for (int sv = 1; sv <= Constellation::kSatellites; ++sv)
    if (view(sv).elevation > kAssignElevation && channelOf(sv) < 0) candidates.push_back(sv);
  std::sort(candidates.begin(), candidates.end(),
            [this](int a, int b) { return view(a).elevation > view(b).elevation; });
  std::size_t next = 0;
  for (Channel& ch : channels_) {
    if (ch.sv != 0 || next >= candidates.size()) continue;
    ch.sv = candidates[next++];
    // Without an almanac the search is blind and slower.
    const bool known = haveAlmanac[static_cast<std::size_t>(ch.sv)];
    ch.acquireAt = now + (known ? random.uniform(1.0, 4.0) : random.uniform(3.0, 12.0));
    ch.ephemerisAt = ch.acquireAt + random.uniform(18.0, 36.0);
  }

  // Integrity check: now and then one satellite is flagged for a while.
  if (rejectedSv_ != 0 && now >= rejectUntil_) rejectedSv_ = 0;
  if (rejectedSv_ == 0 && usedCount() >= 5 && random.chance(0.004)) {
    std::vector<int> used;
    for (const Channel& ch : channels_)
      if (ch.used) used.push_back(ch.sv);
    rejectedSv_ = used[static_cast<std::size_t>(random.between(0, static_cast<int>(used.size()) - 1))];
    rejectUntil_ = now + random.uniform(20.0, 60.0);
  }

  for (Channel& ch : channels_) {
    if (ch.sv == 0) continue;
    const SatelliteView& v = view(ch.sv);
    Ephemeris& eph = ephemerides_[static_cast<std::size_t>(ch.sv)];
    if (!ch.acquired && now >= ch.acquireAt) {
      ch.acquired = true;
      if (firstLockAt_ < 0) firstLockAt_ = now;
    }
    if (eph.valid && now >= eph.expiresAt) eph.valid = false;
    if (ch.acquired) {
      const double sinEl = std::max(0.0, std::sin(v.elevation));
      const double level = 2.5 + 15.5 * std::pow(sinEl, 0.6) + 0.35 * random.gaussian() - (ch.sv % 5) * 0.3;
      ch.signal = static_cast<float>(std::clamp(level, 0.0, 25.0));
      ch.lastMeasurement = tow;
      if (!eph.valid && now >= ch.ephemerisAt) {
        std::uint8_t& iode = iodes_[static_cast<std::size_t>(ch.sv)];
        iode = static_cast<std::uint8_t>(iode + 1 + ch.sv);
        eph.valid = true;
        eph.expiresAt = now + kEphemerisLife;
        eph.collectedTow = tow;
        eph.iode = iode;
        eph.toe = static_cast<float>((static_cast<long>(tow) / 7200 + 1) * 7200 % 604800);
        eph.accuracy = 2.0f + static_cast<float>(random.between(0, 2)) * 0.8f;
      }
    } else {
      ch.signal = 0.0f;
    }
    ch.rejected = ch.sv == rejectedSv_;
    ch.used = ch.acquired && eph.valid && sky.orbit(ch.sv).health == 0 && v.elevation >= masks.elevationMask &&
              ch.signal >= masks.signalMask && !ch.rejected;
  }
  computeDops();
}

void Tracker::computeDops() {
  std::array<std::array<double, 4>, 4> n{};
  int count = 0;
  for (const Channel& ch : channels_) {
    if (!ch.used) continue;
    const SatelliteView& v = view(ch.sv);
    const std::array<double, 4> row = {-std::cos(v.elevation) * std::sin(v.azimuth),
                                       -std::cos(v.elevation) * std::cos(v.azimuth), -std::sin(v.elevation), 1.0};
    for (std::size_t r = 0; r < 4; ++r)
      for (std::size_t c = 0; c < 4; ++c) n[r][c] += row[r] * row[c];
    ++count;
  }
  dops_ = Dops{};
  if (count < 4 || !Invert4(n)) return;
  dops_.hdop = static_cast<float>(std::sqrt(std::max(0.0, n[0][0] + n[1][1])));
  dops_.vdop = static_cast<float>(std::sqrt(std::max(0.0, n[2][2])));
  dops_.pdop = static_cast<float>(std::sqrt(std::max(0.0, n[0][0] + n[1][1] + n[2][2])));
  dops_.tdop = static_cast<float>(std::sqrt(std::max(0.0, n[3][3])));
}

}  // namespace halvix::sim
