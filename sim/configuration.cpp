#include "sim/configuration.h"

#include <algorithm>

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
  switch (segment) {
    case 2:
      to.receiver = from.receiver;
      break;
    case 3:
      to.packetIo = from.packetIo;
      break;
    case 4:
      to.serial = from.serial;
      break;
    case 5:
      to.timing = from.timing;
      break;
    case 6:
      to.position = from.position;
      break;
    case 7:
      to.survey = from.survey;
      break;
    case 8:
      to.nmea = from.nmea;
      break;
    case 11:
      to.utc = from.utc;
      break;
    default:
      break;
  }
}

}  // namespace halvix::sim
