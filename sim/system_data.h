// System data the receiver collects from the sky and can hand out or take in
// through the satellite data command: almanac pages, the almanac health page,
// the ionosphere model and the UTC parameters, each as a byte block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "sim/constellation.h"
#include "sim/wire.h"

namespace halvix::sim {

enum DataType : int { kRawAlmanac = 1, kAlmanac = 2, kHealthPage = 3, kIonosphere = 4, kUtcData = 5 };

// Block length for a data type, 0 for a type the receiver does not know.
std::size_t BlockLength(int type);
bool PerSatellite(int type);

// Almanac page of one satellite: t_zc, week, e, t_oa, i_o, OMEGA_dot, sqrt A,
// OMEGA_0, omega, M_0 (38 bytes, the fields of the almanac report after its SV byte).
Bytes AlmanacBlock(const OrbitElements& orbit, float collectedTow);
// Health of satellites 1..32, then t_oa / 4096 and the almanac week's low byte.
Bytes HealthPageBlock(const Constellation& sky);
// Klobuchar alpha 0..3 and beta 0..3 as singles.
Bytes IonosphereBlock();
// A0, A1, delta t LS, t_ot, WN_t, WN_LSF, DN, delta t LSF: the UTC report's layout.
Bytes UtcBlock(int currentWeek);
// Leap seconds (delta t LS) held in a UTC block.
int LeapSecondsOf(const Bytes& utcBlock);

class SystemData {
 public:
  // Types 1 to 4; the UTC block lives with the configuration (segment 11).
  const std::optional<Bytes>& block(int type, int sv) const;
  void store(int type, int sv, Bytes data);
  void clear();
  bool almanacComplete() const;
  int almanacCount() const;

 private:
  // The slot of a type and satellite, or nullptr; shared by the const and
  // non-const accessors.
  template <typename Self>
  static auto* slotOf(Self& self, int type, int sv);
  std::array<std::optional<Bytes>, Constellation::kSatellites> raw_{};
  std::array<std::optional<Bytes>, Constellation::kSatellites> almanac_{};
  std::optional<Bytes> health_;
  std::optional<Bytes> ionosphere_;
};

}  // namespace halvix::sim
