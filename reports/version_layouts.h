// Layouts of the reports that describe the receiver itself: software version
// (0x45), health (0x46), set-time reply (0x4E), EEPROM segment status
// (0x5F-11), the fatal-error texts (other 0x5F), manufacturing (0x8F-41) and
// production (0x8F-42) parameters; their texts, and the receiver type the
// production parameters choose.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "reports/field_sink.h"

namespace halvix::reports {

// One version with its date; the year is counted from 1900.
struct VersionStamp {
  int major = 0, minor = 0;
  int month = 0, day = 0, yearSince1900 = 0;

  QString versionText() const;  // "1.02"
  QString dateText() const;     // "3/4/2007"
};

// Report 0x45, software version: 10 bytes, or 96 in the long form, which
// adds the third version number and the build time of the application.
struct SoftwareVersion {
  static constexpr int kShortLength = 10;
  static constexpr int kLongLength = 96;
  VersionStamp application;
  VersionStamp signalProcessor;
  bool longForm = false;
  int build = 0;  // third application number, long form only
  int hour = 0, minute = 0, second = 0;

  QString fullVersionText() const;  // "1.02.03"
  QString buildTimeText() const;    // "13:05:09"
};
std::optional<SoftwareVersion> DecodeSoftwareVersion(const std::uint8_t* payload, int length);

// Report 0x46, health: 2 bytes, the status code first.
struct Health {
  static constexpr int kLength = 2;
  int status = 0;
};
std::optional<Health> DecodeHealth(const std::uint8_t* payload, int length);
// The status text; codes without one are named by number.
QString HealthStatusText(int code);

// Report 0x4E, set-time reply: one byte, 'Y' when the time was accepted.
struct SetTimeReply {
  static constexpr int kLength = 1;
  bool accepted = false;
};
std::optional<SetTimeReply> DecodeSetTimeReply(const std::uint8_t* payload, int length);

// Report 0x5F-11, EEPROM segment status: 0x11 and a word of segment bits; a
// set bit is a segment found corrupted and set to its default.
struct SegmentStatus {
  static constexpr int kLength = 3;
  std::uint16_t bits = 0;
  bool invalid(int bit) const { return (bits >> bit) & 1U; }
};
std::optional<SegmentStatus> DecodeSegmentStatus(const std::uint8_t* payload, int length);

// Report 0x5F of another kind: a fatal error (0xFF) or exception (0xFE) and
// the receiver's message, the rest of the payload. Other kinds decode to nothing.
struct FatalMessage {
  static constexpr std::uint8_t kError = 0xFF;
  static constexpr std::uint8_t kException = 0xFE;
  bool exception = false;
  QByteArray text;

  QString label() const;  // "Application Fatal Error:" or "... Exception:"
};
std::optional<FatalMessage> DecodeFatalMessage(const std::uint8_t* payload, int length);

// Report 0x8F-41, manufacturing parameters: 17 bytes.
struct ManufacturingParameters {
  static constexpr int kLength = 17;
  int serialPrefix = 0;
  std::int32_t serialNumber = 0;  // shown signed, as "%ld"
  int year2 = 0, month = 0, day = 0, hour = 0;
  double oscillatorOffset = 0;  // single
  int testCode = 0;

  // "12/31/2007": a two-digit year below 80 is in the 2000s.
  QString buildDateText() const;
};
std::optional<ManufacturingParameters> DecodeManufacturingParameters(const std::uint8_t* payload,
                                                                     int length);

// Report 0x8F-42, production parameters: 19 bytes.
struct ProductionParameters {
  static constexpr int kLength = 19;
  int optionsPrefix = 0;
  int numberExtension = 0;
  int caseSerialPrefix = 0;
  std::int32_t caseSerialNumber = 0;  // shown signed, as "%ld"
  std::int32_t productionNumber = 0;
  int premiumOptions = 0;
  int machineId = 0;

  // The receiver type these parameters name (1..5), or 0 for no change.
  int receiverType() const;
};
std::optional<ProductionParameters> DecodeProductionParameters(const std::uint8_t* payload,
                                                               int length);

// Machine ID 98 changes nothing, 91 is a Brisel, else the premium options
// name the Corvel variant; anything unknown is 0 (no change).
int ReceiverTypeForProduction(int machineId, int premiumOptions);

// Field descriptions for headless use: names, units and values.
void DescribeFields(const SoftwareVersion& v, FieldSink& o);
void DescribeFields(const Health& v, FieldSink& o);
void DescribeFields(const SetTimeReply& v, FieldSink& o);
void DescribeFields(const SegmentStatus& v, FieldSink& o);
void DescribeFields(const ManufacturingParameters& v, FieldSink& o);
void DescribeFields(const ProductionParameters& v, FieldSink& o);
// Report 0x4B is routed and shown nowhere: its bytes are described as they came.
bool DescribeMachineCode(const std::uint8_t* payload, int length, FieldSink* sink);
// The fatal message's text as it came.
void DescribeFields(const FatalMessage& v, FieldSink& o);

}  // namespace halvix::reports
