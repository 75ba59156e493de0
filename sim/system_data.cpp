#include "sim/system_data.h"

#include <algorithm>

#include "sim/gps_time.h"

namespace halvix::sim {
namespace {

const std::optional<Bytes> kNone;

}  // namespace

std::size_t BlockLength(int type) {
  switch (type) {
    case kRawAlmanac:
      return 24;
    case kAlmanac:
      return 38;
    case kHealthPage:
      return 34;
    case kIonosphere:
      return 32;
    case kUtcData:
      return 26;
    default:
      return 0;
  }
}

bool PerSatellite(int type) { return type == kRawAlmanac || type == kAlmanac; }

Bytes AlmanacBlock(const OrbitElements& o, float collectedTow) {
  Bytes b;
  ByteWriter w(b);
  w.f32(collectedTow);
  w.u16(static_cast<std::uint16_t>(o.week));
  w.f32(static_cast<float>(o.eccentricity));
  w.f32(static_cast<float>(o.toa));
  w.f32(static_cast<float>(o.inclination));
  w.f32(static_cast<float>(o.omegaDot));
  w.f32(static_cast<float>(o.sqrtA));
  w.f32(static_cast<float>(o.omega0));
  w.f32(static_cast<float>(o.perigee));
  w.f32(static_cast<float>(o.meanAnomaly));
  return b;
}

Bytes HealthPageBlock(const Constellation& sky) {
  Bytes b;
  ByteWriter w(b);
  for (int sv = 1; sv <= Constellation::kSatellites; ++sv) w.u8(sky.orbit(sv).health);
  w.u8(static_cast<std::uint8_t>(static_cast<int>(sky.orbit(1).toa) / 4096));
  w.u8(static_cast<std::uint8_t>(sky.orbit(1).week & 0xFF));
  return b;
}

Bytes IonosphereBlock() {
  Bytes b;
  ByteWriter w(b);
  for (float v : {1.1176e-08f, 7.4506e-09f, -5.9605e-08f, -5.9605e-08f, 90112.0f, 16384.0f, -196608.0f, -65536.0f})
    w.f32(v);
  return b;
}

Bytes UtcBlock(int currentWeek) {
  Bytes b;
  ByteWriter w(b);
  w.f64(-1.862645149e-09);             // A0
  w.f32(-3.552713679e-15f);            // A1
  w.i16(kLeapSeconds);              // delta t LS
  w.f32(405504.0f);                    // t_ot
  w.u16(static_cast<std::uint16_t>(currentWeek));  // WN_t
  w.u16(1929);                         // WN_LSF: the last leap second, end of 2016
  w.u16(7);                            // DN
  w.i16(kLeapSeconds);              // delta t LSF: none pending
  return b;
}

int LeapSecondsOf(const Bytes& utc) { return ByteReader(utc).i16(12); }

template <typename Self>
auto* SystemData::slotOf(Self& self, int type, int sv) {
  decltype(&self.health_) none = nullptr;
  const bool svOk = Constellation::ValidSv(sv);
  const auto index = static_cast<std::size_t>(svOk ? sv - 1 : 0);
  switch (type) {
    case kRawAlmanac:
      return svOk ? &self.raw_[index] : none;
    case kAlmanac:
      return svOk ? &self.almanac_[index] : none;
    case kHealthPage:
      return &self.health_;
    case kIonosphere:
      return &self.ionosphere_;
    default:
      return none;
  }
}

const std::optional<Bytes>& SystemData::block(int type, int sv) const {
  const std::optional<Bytes>* s = slotOf(*this, type, sv);
  return s != nullptr ? *s : kNone;
}

void SystemData::store(int type, int sv, Bytes data) {
  if (std::optional<Bytes>* s = slotOf(*this, type, sv)) *s = std::move(data);
}

void SystemData::clear() {
  for (auto& a : raw_) a.reset();
  for (auto& a : almanac_) a.reset();
  health_.reset();
  ionosphere_.reset();
}

int SystemData::almanacCount() const {
  return static_cast<int>(std::count_if(almanac_.begin(), almanac_.end(), [](const auto& a) { return a.has_value(); }));
}

bool SystemData::almanacComplete() const { return almanacCount() == Constellation::kSatellites; }

}  // namespace halvix::sim
