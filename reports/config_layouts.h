// Layouts of the configuration reports that answer the dialogs' queries:
// 0x4F UTC parameters, 0x55 I/O options, 0x7B NMEA settings, 0xBB receiver
// configuration, 0xBC serial port configuration and the super-reports 0x8F-15,
// -4A, -4B, -4D, -4E, -4F, -A5 and -A9. Each decode takes the payload (offset 0
// is the first byte after the id) and gives nothing on any length but its own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "reports/field_sink.h"

namespace halvix::reports {

// Each report's decode is followed by its field description for headless
// use: names, units and values.

// Report 0x4F.
struct UtcParameters {
  static constexpr int kLength = 26;
  double a0 = 0.0;  // seconds
  double a1 = 0.0;  // seconds per second
  std::int16_t deltaTls = 0;
  double tot = 0.0;  // seconds
  std::uint16_t wnT = 0;
  std::uint16_t wnLsf = 0;
  std::uint16_t dn = 0;
  std::int16_t deltaTlsf = 0;
};
std::optional<UtcParameters> DecodeUtcParameters(const std::uint8_t* payload, int length);
void DescribeFields(const UtcParameters& v, FieldSink& o);

// Report 0x55: the four option bytes, bit for bit.
struct IoOptions {
  static constexpr int kLength = 4;
  std::uint8_t position = 0;
  std::uint8_t velocity = 0;
  std::uint8_t timing = 0;
  std::uint8_t auxiliary = 0;
};
std::optional<IoOptions> DecodeIoOptions(const std::uint8_t* payload, int length);
void DescribeFields(const IoOptions& v, FieldSink& o);

// The NMEA sentences of the message mask (reports 0x7B, commands 0x7A): the
// mask bit and the sentence, in the order the NMEA Output dialog lists them.
struct NmeaSentence {
  int bit;
  const char* name;
};
inline constexpr std::array<NmeaSentence, 7> kNmeaSentences{
    {{0, "GGA"}, {1, "GLL"}, {2, "VTG"}, {3, "GSV"}, {4, "GSA"}, {5, "ZDA"}, {8, "RMC"}}};

// Report 0x7B.
struct NmeaSettings {
  static constexpr int kLength = 6;
  std::uint8_t interval = 0;  // seconds
  std::uint32_t mask = 0;     // a bit per sentence of kNmeaSentences
};
std::optional<NmeaSettings> DecodeNmeaSettings(const std::uint8_t* payload, int length);
void DescribeFields(const NmeaSettings& v, FieldSink& o);

// Report 0xBB.
struct ReceiverConfigurationReport {
  static constexpr int kLength = 43;
  std::uint8_t receiverMode = 0;
  std::uint8_t dgpsMode = 0;  // 0 off, 1 on, 3 auto
  std::uint8_t dynamicsCode = 0;
  double elevationMask = 0.0;  // radians
  double signalLevelMask = 0.0;
  double pdopMask = 0.0;
  double pdopSwitch = 0.0;
  std::uint8_t dgpsAgeLimit = 0;  // seconds
  // Item index of the DGPS mode list: the receiver's 3 ("auto") is the third item.
  int dgpsModeIndex() const { return dgpsMode <= 1 ? dgpsMode : dgpsMode - 1; }
};
std::optional<ReceiverConfigurationReport> DecodeReceiverConfiguration(const std::uint8_t* payload,
                                                                       int length);
void DescribeFields(const ReceiverConfigurationReport& v, FieldSink& o);

// Report 0xBC, one receiver port.
struct SerialPortReport {
  static constexpr int kLength = 10;
  std::uint8_t port = 0;  // 0 port A, anything else port B
  std::uint8_t baudCode = 0;  // the input rate
  std::uint8_t dataBitsCode = 0;
  std::uint8_t parityCode = 0;
  std::uint8_t stopBitsCode = 0;
  std::uint8_t inputProtocol = 0;
  std::uint8_t outputProtocol = 0;
  bool isPortA() const { return port == 0; }
};
std::optional<SerialPortReport> DecodeSerialPortReport(const std::uint8_t* payload, int length);
void DescribeFields(const SerialPortReport& v, FieldSink& o);

// Report 0x8F-15: only the datum index is shown.
struct DatumReport {
  static constexpr int kLength = 43;
  std::uint16_t datumIndex = 0;
};
std::optional<DatumReport> DecodeDatumReport(const std::uint8_t* payload, int length);
void DescribeFields(const DatumReport& v, FieldSink& o);

// Report 0x8F-4A.
struct PpsCharacteristicsReport {
  static constexpr int kLength = 16;
  std::uint8_t driverSwitch = 0;
  std::uint8_t timeBase = 0;
  std::uint8_t polarity = 0;
  double ppsOffset = 0.0;           // seconds
  double biasUncertainty = 0.0;     // metres
};
std::optional<PpsCharacteristicsReport> DecodePpsCharacteristics(const std::uint8_t* payload,
                                                                 int length);
void DescribeFields(const PpsCharacteristicsReport& v, FieldSink& o);

// Report 0x8F-4B.
struct SurveyLimitReport {
  static constexpr int kLength = 5;
  std::uint32_t limit = 0;
};
std::optional<SurveyLimitReport> DecodeSurveyLimit(const std::uint8_t* payload, int length);
void DescribeFields(const SurveyLimitReport& v, FieldSink& o);

// Report 0x8F-4D.
struct AutomaticOutputMaskReport {
  static constexpr int kLength = 5;
  std::uint32_t mask = 0;
};
std::optional<AutomaticOutputMaskReport> DecodeAutomaticOutputMask(const std::uint8_t* payload,
                                                                   int length);
void DescribeFields(const AutomaticOutputMaskReport& v, FieldSink& o);

// Report 0x8F-4E: 2 always, 3 tracking one satellite, 4 tracking three.
struct PpsOutputReport {
  static constexpr int kLength = 2;
  std::uint8_t mode = 0;
};
std::optional<PpsOutputReport> DecodePpsOutput(const std::uint8_t* payload, int length);
void DescribeFields(const PpsOutputReport& v, FieldSink& o);

// Report 0x8F-4F.
struct PpsWidthReport {
  static constexpr int kLength = 9;
  double width = 0.0;  // seconds
};
std::optional<PpsWidthReport> DecodePpsWidth(const std::uint8_t* payload, int length);
void DescribeFields(const PpsWidthReport& v, FieldSink& o);

// Report 0x8F-A5.
struct BroadcastMaskReport {
  static constexpr int kLength = 5;
  std::uint8_t mask1 = 0;
  std::uint8_t mask2 = 0;
};
std::optional<BroadcastMaskReport> DecodeBroadcastMask(const std::uint8_t* payload, int length);
void DescribeFields(const BroadcastMaskReport& v, FieldSink& o);

// Report 0x8F-A9.
struct SelfSurveyReport {
  static constexpr int kLength = 11;
  bool enabled = false;
  bool savePosition = false;
  std::int32_t length = 0;
};
std::optional<SelfSurveyReport> DecodeSelfSurvey(const std::uint8_t* payload, int length);
void DescribeFields(const SelfSurveyReport& v, FieldSink& o);

}  // namespace halvix::reports
