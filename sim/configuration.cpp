#include "sim/configuration.h"

#include <algorithm>
#include <tuple>

#include "sim/persona.h"

namespace halvix::sim {

bool IsSegment(int segment) { return std::find(kSegments.begin(), kSegments.end(), segment) != kSegments.end(); }

Configuration FactoryConfiguration(const Persona& persona) {
  Configuration c;
  c.packetIo.broadcastMask1 = persona.broadcastMask1;
  c.packetIo.broadcastMask2 = persona.broadcastMask2;
  return c;
}

void CopySegment(Configuration& to, const Configuration& from, int segment) {
  // The parts in the order of kSegments.
  const auto parts = std::make_tuple(&Configuration::receiver, &Configuration::packetIo,
                                     &Configuration::serial, &Configuration::timing,
                                     &Configuration::position, &Configuration::survey,
                                     &Configuration::nmea, &Configuration::utc);
  static_assert(std::tuple_size_v<decltype(parts)> == kSegments.size());
  std::apply(
      [&](auto... part) {
        std::size_t i = 0;
        ((kSegments[i++] == segment ? void(to.*part = from.*part) : void()), ...);
      },
      parts);
}

}  // namespace halvix::sim
