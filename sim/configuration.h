// The receiver's configuration, grouped in the EEPROM segments it is saved
// and reverted by, with the factory defaults of each segment.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/geodesy.h"
#include "sim/receiver_port.h"
#include "sim/wire.h"

namespace halvix::sim {

struct Persona;

// Segment 2.
struct ReceiverSettings {
  std::uint8_t mode = 7;          // 0 automatic .. 7 overdetermined clock
  std::uint8_t dgpsMode = 0;      // 0 off, 1 on, 3 auto
  std::uint8_t dynamics = 4;      // 1 land .. 4 stationary
  float elevationMask = 0.1745329f;  // radians
  float signalMask = 4.0f;        // AMU
  float pdopMask = 12.0f;
  float pdopSwitch = 6.0f;
  std::uint8_t dgpsAgeLimit = 30;
  float referenceAltitude = 0.0f;  // 2D altitude, metres
  bool referenceAltitudeSet = false;
  std::uint8_t oneSatellite = 0;  // 1-SV mode satellite, 0 = highest
};

// Segment 3.
struct PacketIo {
  std::array<std::uint8_t, 4> ioOptions{0x12, 0x02, 0x00, 0x00};
  std::uint8_t broadcastMask1 = 0;
  std::uint8_t broadcastMask2 = 0;
  std::uint32_t autoOutputMask = 0;
  std::uint16_t datum = 0;
};

// Segment 4.
struct SerialPorts {
  ReceiverPort portA;
  ReceiverPort portB{6, 6, 3, 0, 0, 0, kProtocolRtcm, kProtocolNmea};
};

// Segment 5.
struct TimingOutputs {
  std::uint8_t ppsEnabled = 1;
  std::uint8_t timeBase = 0;      // 0 GPS, 1 UTC
  std::uint8_t polarity = 0;      // 0 positive
  double ppsOffset = 0.0;         // seconds
  float biasThreshold = 300.0f;   // metres
  std::uint8_t ppsOutputMode = 3; // 2 always, 3 one satellite, 4 three satellites
  double ppsWidth = 10e-6;        // seconds
};

// Segment 7.
struct SurveySettings {
  std::uint8_t enabled = 1;
  std::uint8_t savePosition = 1;
  std::int32_t length = 2000;     // fixes
  std::uint32_t limit = 2000;     // the Brisel auto-survey limit, fixes
};

// Segment 8.
struct NmeaSettings {
  std::uint8_t interval = 1;      // seconds
  std::uint32_t mask = 0x00000121;  // GGA, ZDA, RMC
};

struct Configuration {
  ReceiverSettings receiver;      // 2
  PacketIo packetIo;              // 3
  SerialPorts serial;             // 4
  TimingOutputs timing;           // 5
  std::optional<Lla> position;    // 6: the accurate (held) position
  SurveySettings survey;          // 7
  NmeaSettings nmea;              // 8
  std::optional<Bytes> utc;       // 11: the UTC parameter block
};

inline constexpr std::array<int, 8> kSegments = {2, 3, 4, 5, 6, 7, 8, 11};
inline constexpr int kAllSegments = 0xFF;

bool IsSegment(int segment);
Configuration FactoryConfiguration(const Persona& persona);
// Sets one segment of to (2..8, 11) from from; other numbers change nothing.
void CopySegment(Configuration& to, const Configuration& from, int segment);

}  // namespace halvix::sim
