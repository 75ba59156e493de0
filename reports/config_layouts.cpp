#include "reports/config_layouts.h"

#include "link/field_codec.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using detail::HasExactLength;
using link::GetDouble;
using link::GetLong;
using link::GetSignedWord;
using link::GetSingle;
using link::GetWord;

std::optional<UtcParameters> DecodeUtcParameters(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, UtcParameters::kLength)) return std::nullopt;
  UtcParameters r;
  r.a0 = GetDouble(p);
  r.a1 = GetSingle(p + 8);
  r.deltaTls = GetSignedWord(p + 12);
  r.tot = GetSingle(p + 14);
  r.wnT = GetWord(p + 18);
  r.wnLsf = GetWord(p + 20);
  r.dn = GetWord(p + 22);
  r.deltaTlsf = GetSignedWord(p + 24);
  return r;
}

std::optional<IoOptions> DecodeIoOptions(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, IoOptions::kLength)) return std::nullopt;
  return IoOptions{p[0], p[1], p[2], p[3]};
}

std::optional<NmeaSettings> DecodeNmeaSettings(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, NmeaSettings::kLength)) return std::nullopt;
  return NmeaSettings{p[1], GetLong(p + 2)};
}

std::optional<ReceiverConfigurationReport> DecodeReceiverConfiguration(const std::uint8_t* p,
                                                                       int length) {
  if (!HasExactLength(p, length, ReceiverConfigurationReport::kLength)) return std::nullopt;
  ReceiverConfigurationReport r;
  r.receiverMode = p[1];
  r.dgpsMode = p[2];
  r.dynamicsCode = p[3];
  r.elevationMask = GetSingle(p + 5);
  r.signalLevelMask = GetSingle(p + 9);
  r.pdopMask = GetSingle(p + 13);
  r.pdopSwitch = GetSingle(p + 17);
  r.dgpsAgeLimit = p[21];
  return r;
}

std::optional<SerialPortReport> DecodeSerialPortReport(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, SerialPortReport::kLength)) return std::nullopt;
  SerialPortReport r;
  r.port = p[0];
  r.baudCode = p[1];
  r.dataBitsCode = p[3];
  r.parityCode = p[4];
  r.stopBitsCode = p[5];
  r.inputProtocol = p[7];
  r.outputProtocol = p[8];
  return r;
}

std::optional<DatumReport> DecodeDatumReport(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, DatumReport::kLength)) return std::nullopt;
  return DatumReport{GetWord(p + 1)};
}

std::optional<PpsCharacteristicsReport> DecodePpsCharacteristics(const std::uint8_t* p,
                                                                 int length) {
  if (!HasExactLength(p, length, PpsCharacteristicsReport::kLength)) return std::nullopt;
  PpsCharacteristicsReport r;
  r.driverSwitch = p[1];
  r.timeBase = p[2];
  r.polarity = p[3];
  r.ppsOffset = GetDouble(p + 4);
  r.biasUncertainty = GetSingle(p + 12);
  return r;
}

std::optional<SurveyLimitReport> DecodeSurveyLimit(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, SurveyLimitReport::kLength)) return std::nullopt;
  return SurveyLimitReport{GetLong(p + 1)};
}

std::optional<AutomaticOutputMaskReport> DecodeAutomaticOutputMask(const std::uint8_t* p,
                                                                   int length) {
  if (!HasExactLength(p, length, AutomaticOutputMaskReport::kLength)) return std::nullopt;
  return AutomaticOutputMaskReport{GetLong(p + 1)};
}

std::optional<PpsOutputReport> DecodePpsOutput(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, PpsOutputReport::kLength)) return std::nullopt;
  return PpsOutputReport{p[1]};
}

std::optional<PpsWidthReport> DecodePpsWidth(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, PpsWidthReport::kLength)) return std::nullopt;
  return PpsWidthReport{GetDouble(p + 1)};
}

std::optional<BroadcastMaskReport> DecodeBroadcastMask(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, BroadcastMaskReport::kLength)) return std::nullopt;
  return BroadcastMaskReport{p[1], p[2]};
}

std::optional<SelfSurveyReport> DecodeSelfSurvey(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, SelfSurveyReport::kLength)) return std::nullopt;
  SelfSurveyReport r;
  r.enabled = p[1] != 0;
  r.savePosition = p[2] != 0;
  r.length = static_cast<std::int32_t>(GetLong(p + 3));
  return r;
}

void DescribeFields(const UtcParameters& v, FieldSink& o) {
  o.number("a0", v.a0, "s");
  o.single("a1", v.a1, "s/s");
  o.integer("deltaTls", v.deltaTls, "s");
  o.single("tot", v.tot, "s");
  o.integer("wnT", v.wnT);
  o.integer("wnLsf", v.wnLsf);
  o.integer("dn", v.dn, "day");
  o.integer("deltaTlsf", v.deltaTlsf, "s");
}

void DescribeFields(const IoOptions& v, FieldSink& o) {
  o.integer("position", v.position);
  o.integer("velocity", v.velocity);
  o.integer("timing", v.timing);
  o.integer("auxiliary", v.auxiliary);
}

void DescribeFields(const NmeaSettings& v, FieldSink& o) {
  o.integer("interval", v.interval, "s");
  o.integer("mask", v.mask);
}

void DescribeFields(const ReceiverConfigurationReport& v, FieldSink& o) {
  o.integer("receiverMode", v.receiverMode);
  o.integer("dgpsMode", v.dgpsMode);
  o.integer("dynamicsCode", v.dynamicsCode);
  o.single("elevationMask", detail::Degrees(v.elevationMask), "deg");
  o.single("signalLevelMask", v.signalLevelMask, "AMU");
  o.single("pdopMask", v.pdopMask);
  o.single("pdopSwitch", v.pdopSwitch);
  o.integer("dgpsAgeLimit", v.dgpsAgeLimit, "s");
}

void DescribeFields(const SerialPortReport& v, FieldSink& o) {
  o.integer("port", v.port);
  o.integer("baudCode", v.baudCode);
  o.integer("dataBitsCode", v.dataBitsCode);
  o.integer("parityCode", v.parityCode);
  o.integer("stopBitsCode", v.stopBitsCode);
  o.integer("inputProtocol", v.inputProtocol);
  o.integer("outputProtocol", v.outputProtocol);
}

void DescribeFields(const DatumReport& v, FieldSink& o) {
  o.integer("datumIndex", v.datumIndex);
}

void DescribeFields(const PpsCharacteristicsReport& v, FieldSink& o) {
  o.integer("driverSwitch", v.driverSwitch);
  o.integer("timeBase", v.timeBase);
  o.integer("polarity", v.polarity);
  o.number("ppsOffset", v.ppsOffset, "s");
  o.single("biasUncertainty", v.biasUncertainty, "m");
}

void DescribeFields(const SurveyLimitReport& v, FieldSink& o) {
  o.integer("limit", v.limit);
}

void DescribeFields(const AutomaticOutputMaskReport& v, FieldSink& o) {
  o.integer("mask", v.mask);
}

void DescribeFields(const PpsOutputReport& v, FieldSink& o) {
  o.integer("mode", v.mode);
}

void DescribeFields(const PpsWidthReport& v, FieldSink& o) {
  o.number("width", v.width, "s");
}

void DescribeFields(const BroadcastMaskReport& v, FieldSink& o) {
  o.integer("mask1", v.mask1);
  o.integer("mask2", v.mask2);
}

void DescribeFields(const SelfSurveyReport& v, FieldSink& o) {
  o.integer("enabled", v.enabled ? 1 : 0);
  o.integer("savePosition", v.savePosition ? 1 : 0);
  o.integer("length", v.length, "fixes");
}

}  // namespace halvix::reports
