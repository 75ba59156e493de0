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

}  // namespace halvix::reports
