#include "reports/config_layouts.h"

#include "link/field_codec.h"
#include "reports/layout_support.h"

namespace halvix::reports {

using detail::HasExactLength;
using namespace link;
using enum FieldType;

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
  detail::GetBytes(p + 1, r.receiverMode, r.dgpsMode, r.dynamicsCode);
  detail::GetSingles(p + 5, r.elevationMask, r.signalLevelMask, r.pdopMask, r.pdopSwitch);
  r.dgpsAgeLimit = p[21];
  return r;
}

std::optional<SerialPortReport> DecodeSerialPortReport(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, SerialPortReport::kLength)) return std::nullopt;
  SerialPortReport r;
  detail::GetBytes(p, r.port, r.baudCode);
  detail::GetBytes(p + 3, r.dataBitsCode, r.parityCode, r.stopBitsCode);
  detail::GetBytes(p + 7, r.inputProtocol, r.outputProtocol);
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
  detail::GetBytes(p + 1, r.driverSwitch, r.timeBase, r.polarity);
  r.ppsOffset = GetDouble(p + 4);
  r.biasUncertainty = GetSingle(p + 12);
  return r;
}

namespace {

// A super-report that carries one long after its sub-code.
template <class R>
std::optional<R> DecodeLongAfterSubcode(const std::uint8_t* p, int length) {
  if (!HasExactLength(p, length, R::kLength)) return std::nullopt;
  return R{GetLong(p + 1)};
}

}  // namespace

std::optional<SurveyLimitReport> DecodeSurveyLimit(const std::uint8_t* p, int length) {
  return DecodeLongAfterSubcode<SurveyLimitReport>(p, length);
}

std::optional<AutomaticOutputMaskReport> DecodeAutomaticOutputMask(const std::uint8_t* p,
                                                                   int length) {
  return DecodeLongAfterSubcode<AutomaticOutputMaskReport>(p, length);
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
  o.rows({{Double, "a0", v.a0, "s"}, {Single, "a1", v.a1, "s/s"},
          {Integer, "deltaTls", v.deltaTls, "s"}, {Single, "tot", v.tot, "s"},
          {Integer, "wnT", v.wnT}, {Integer, "wnLsf", v.wnLsf}, {Integer, "dn", v.dn, "day"},
          {Integer, "deltaTlsf", v.deltaTlsf, "s"}});
}

void DescribeFields(const IoOptions& v, FieldSink& o) {
  o.rows({{Integer, "position", v.position}, {Integer, "velocity", v.velocity},
          {Integer, "timing", v.timing}, {Integer, "auxiliary", v.auxiliary}});
}

void DescribeFields(const NmeaSettings& v, FieldSink& o) {
  o.integer("interval", v.interval, "s");
  o.integer("mask", v.mask);
}

void DescribeFields(const ReceiverConfigurationReport& v, FieldSink& o) {
  o.rows({{Integer, "receiverMode", v.receiverMode}, {Integer, "dgpsMode", v.dgpsMode},
          {Integer, "dynamicsCode", v.dynamicsCode},
          {Single, "elevationMask", detail::Degrees(v.elevationMask), "deg"},
          {Single, "signalLevelMask", v.signalLevelMask, "AMU"},
          {Single, "pdopMask", v.pdopMask}, {Single, "pdopSwitch", v.pdopSwitch},
          {Integer, "dgpsAgeLimit", v.dgpsAgeLimit, "s"}});
}

void DescribeFields(const SerialPortReport& v, FieldSink& o) {
  o.rows({{Integer, "port", v.port}, {Integer, "baudCode", v.baudCode},
          {Integer, "dataBitsCode", v.dataBitsCode}, {Integer, "parityCode", v.parityCode},
          {Integer, "stopBitsCode", v.stopBitsCode}, {Integer, "inputProtocol", v.inputProtocol},
          {Integer, "outputProtocol", v.outputProtocol}});
}

void DescribeFields(const DatumReport& v, FieldSink& o) {
  o.integer("datumIndex", v.datumIndex);
}

void DescribeFields(const PpsCharacteristicsReport& v, FieldSink& o) {
  o.rows({{Integer, "driverSwitch", v.driverSwitch}, {Integer, "timeBase", v.timeBase},
          {Integer, "polarity", v.polarity}, {Double, "ppsOffset", v.ppsOffset, "s"},
          {Single, "biasUncertainty", v.biasUncertainty, "m"}});
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
  o.rows({{Integer, "enabled", v.enabled ? 1 : 0},
          {Integer, "savePosition", v.savePosition ? 1 : 0},
          {Integer, "length", v.length, "fixes"}});
}

}  // namespace halvix::reports
