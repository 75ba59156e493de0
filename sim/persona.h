// The receiver types the simulator can play: firmware versions, serial
// numbers, and the machine ID and premium options that tell Halvix which
// type it is talking to.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace halvix::sim {

struct VersionStamp {
  std::uint8_t major = 0;
  std::uint8_t minor = 0;
  std::uint8_t month = 1;
  std::uint8_t day = 1;
  std::uint8_t yearSince1900 = 100;
};

struct Persona {
  const char* key;          // corvel, norden, pellam, cvl2, brisel
  const char* productName;  // carried in the long version report and the PR line
  VersionStamp application;
  std::uint8_t applicationBuild;  // third version number (long form only)
  std::uint8_t buildHour, buildMinute, buildSecond;
  VersionStamp signalProcessor;
  bool longVersionReport;   // answers 1F 00 00 with the 96-byte form

  // Manufacturing parameters.
  std::uint16_t boardSerialPrefix;
  std::uint32_t boardSerial;
  std::uint8_t buildYear2, buildMonth, buildDay, buildHourOfDay;
  float oscillatorOffset;
  std::uint16_t testCode;

  // Production parameters.
  std::uint8_t productionOptionsPrefix;
  std::uint8_t productionNumberExtension;
  std::uint16_t caseSerialPrefix;
  std::uint32_t caseSerial;
  std::uint32_t productionNumber;
  std::uint16_t premiumOptions;
  std::uint16_t machineId;

  // Factory packet broadcast mask.
  std::uint8_t broadcastMask1;
  std::uint8_t broadcastMask2;
};

inline constexpr std::uint16_t kBriselMachineId = 91;

// The persona for a name (case-insensitive), or nullptr.
const Persona* FindPersona(const QString& name);
const Persona& DefaultPersona();
QStringList PersonaNames();

}  // namespace halvix::sim
