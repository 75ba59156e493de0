#include "tools/decode_reports.h"

#include <charconv>

#include "link/report_dispatcher.h"
#include "reports/config_layouts.h"
#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"
#include "reports/version_layouts.h"

namespace halvix::tools {

namespace {

using link::ReportDispatcher;
using namespace reports;

// Angles travel in radians; they are shown in degrees with the windows' factor.
double Deg(double radians) { return radians * kRadiansToDegrees; }

constexpr std::string_view kSvNames[32] = {
    "sv1",  "sv2",  "sv3",  "sv4",  "sv5",  "sv6",  "sv7",  "sv8",  "sv9",  "sv10", "sv11",
    "sv12", "sv13", "sv14", "sv15", "sv16", "sv17", "sv18", "sv19", "sv20", "sv21", "sv22",
    "sv23", "sv24", "sv25", "sv26", "sv27", "sv28", "sv29", "sv30", "sv31", "sv32"};
constexpr std::string_view kChannelNames[8] = {"channel1", "channel2", "channel3", "channel4",
                                          "channel5", "channel6", "channel7", "channel8"};

void Hex2(char* out, int value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out[0] = kDigits[(value >> 4) & 0xF];
  out[1] = kDigits[value & 0xF];
}

void Version(ReportDecoder& d, const char* version, const char* date, const VersionStamp& s,
             char* scratch) {
  // "1.02" and "3/4/2007", as the Product Info window shows them.
  char* p = scratch;
  p = std::to_chars(p, p + 8, s.major).ptr;
  *p++ = '.';
  if (s.minor < 10 && s.minor >= 0) *p++ = '0';
  p = std::to_chars(p, p + 8, s.minor).ptr;
  d.text(version, std::string_view(scratch, static_cast<std::size_t>(p - scratch)));
  p = scratch;
  p = std::to_chars(p, p + 8, s.month).ptr;
  *p++ = '/';
  p = std::to_chars(p, p + 8, s.day).ptr;
  *p++ = '/';
  p = std::to_chars(p, p + 8, s.yearSince1900 + 1900).ptr;
  d.text(date, std::string_view(scratch, static_cast<std::size_t>(p - scratch)));
}

template <typename Decode, typename Emit>
ReportDispatcher::Decoder Route(ReportDecoder& d, const char* name, Decode decode, Emit emit) {
  return [&d, name, decode, emit](const std::uint8_t* payload, int length) {
    d.begin(name);
    if (const auto r = decode(payload, length)) {
      emit(d, *r);
      d.finished();
    }
  };
}

void RegisterLayouts(ReportDispatcher& r, ReportDecoder& d) {
  constexpr int kSuper = ReportDispatcher::kSuperReport;

  // Timing super-reports.
  r.setSuperDecoder(kSuper, 0xAB, Route(d, "Primary Timing", DecodePrimaryTiming,
                                        [](ReportDecoder& o, const PrimaryTiming& v) {
    o.integer("timeOfWeek", v.timeOfWeek, "s");
    o.integer("week", v.week);
    o.integer("utcOffset", v.utcOffset, "s");
    o.integer("timingFlags", v.timingFlags);
    o.integer("hours", v.hours, "h");
    o.integer("minutes", v.minutes, "min");
    o.integer("seconds", v.seconds, "s");
    o.integer("day", v.day);
    o.integer("month", v.month);
    o.integer("year", v.year);
  }));
  r.setSuperDecoder(kSuper, 0xAC, Route(d, "Supplemental Timing", DecodeSupplementalTiming,
                                        [](ReportDecoder& o, const SupplementalTiming& v) {
    o.integer("receiverMode", v.receiverMode);
    o.integer("surveyProgress", v.surveyProgress, "%");
    o.integer("minorAlarms", v.minorAlarms);
    o.integer("statusCode", v.statusCode);
    o.single("ppsOffset", v.ppsOffset, "ns");
    o.single("oscillatorOffset", v.oscillatorOffset, "ppb");
    o.number("latitude", Deg(v.latitude), "deg");
    o.number("longitude", Deg(v.longitude), "deg");
    o.number("altitude", v.altitude, "m");
    o.single("quantizationError", v.quantizationError, "ns");
    o.integer("ppsGenerated", v.ppsGenerated ? 1 : 0);
  }));
  r.setSuperDecoder(kSuper, 0xAD, Route(d, "Primary UTC Time", DecodePrimaryUtcTime,
                                        [](ReportDecoder& o, const PrimaryUtcTime& v) {
    o.integer("eventCount", v.eventCount);
    o.number("fraction", v.fraction, "s");
    o.integer("hours", v.hours, "h");
    o.integer("minutes", v.minutes, "min");
    o.integer("seconds", v.seconds, "s");
    o.integer("day", v.day);
    o.integer("month", v.month);
    o.integer("year", v.year);
    o.integer("receiverStatus", v.receiverStatus);
    o.integer("flags", v.flags);
  }));

  // Time, position and velocity.
  r.setDecoder(0x41, Route(d, "GPS Time", DecodeGpsTime, [](ReportDecoder& o, const GpsTime& v) {
    o.single("timeOfWeek", v.timeOfWeek, "s");
    o.integer("week", v.week);
    o.single("utcOffset", v.utcOffset, "s");
  }));
  r.setDecoder(0x42, Route(d, "XYZ Position", DecodeXyzPosition,
                           [](ReportDecoder& o, const XyzPosition& v) {
    o.single("x", v.x, "m");
    o.single("y", v.y, "m");
    o.single("z", v.z, "m");
  }));
  r.setDecoder(0x43, Route(d, "XYZ Velocity", DecodeXyzVelocity,
                           [](ReportDecoder& o, const XyzVelocity& v) {
    o.single("x", v.x, "m/s");
    o.single("y", v.y, "m/s");
    o.single("z", v.z, "m/s");
    o.single("biasRate", v.biasRate, "m/s");
  }));
  r.setDecoder(0x4A, Route(d, "LLA Position", DecodeLlaPosition,
                           [](ReportDecoder& o, const LlaPosition& v) {
    o.number("latitude", Deg(v.latitude), "deg");
    o.number("longitude", Deg(v.longitude), "deg");
    o.single("altitude", v.altitude, "m");
    o.single("clockBias", v.clockBias, "m");
  }));
  r.setAltitudeDecoder(Route(d, "Reference Altitude", DecodeReferenceAltitude,
                             [](ReportDecoder& o, const ReferenceAltitude& v) {
    o.single("altitude", v.altitude, "m");
  }));
  r.setDecoder(0x56, Route(d, "ENU Velocity", DecodeEnuVelocity,
                           [](ReportDecoder& o, const EnuVelocity& v) {
    o.single("east", v.east, "m/s");
    o.single("north", v.north, "m/s");
    o.single("up", v.up, "m/s");
    o.single("biasRate", v.biasRate, "m/s");
  }));
  r.setDecoder(0x83, Route(d, "Precise XYZ Position", DecodePreciseXyzPosition,
                           [](ReportDecoder& o, const PreciseXyzPosition& v) {
    o.number("x", v.x, "m");
    o.number("y", v.y, "m");
    o.number("z", v.z, "m");
    o.number("clockBias", v.clockBias, "m");
  }));
  r.setDecoder(0x84, Route(d, "Precise LLA Position", DecodePreciseLlaPosition,
                           [](ReportDecoder& o, const PreciseLlaPosition& v) {
    o.number("latitude", Deg(v.latitude), "deg");
    o.number("longitude", Deg(v.longitude), "deg");
    o.number("altitude", v.altitude, "m");
    o.number("clockBias", v.clockBias, "m");
  }));
  r.setSuperDecoder(kSuper, 0x0B, Route(d, "Comprehensive Time", DecodeComprehensiveTime,
                                        [](ReportDecoder& o, const ComprehensiveTime& v) {
    o.integer("eventCount", v.eventCount);
    o.number("timeOfWeek", v.timeOfWeek, "s");
    o.integer("day", v.day);
    o.integer("month", v.month);
    o.integer("year", v.year);
    o.integer("receiverMode", v.receiverMode);
    o.integer("utcOffset", v.utcOffset, "s");
    o.number("oscillatorBias", v.oscillatorBias, "m");
    o.number("oscillatorDrift", v.oscillatorDrift, "m/s");
    o.single("biasUncertainty", v.biasUncertainty, "m");
    o.single("driftUncertainty", v.driftUncertainty, "m/s");
    o.number("latitude", Deg(v.latitude), "deg");
    o.number("longitude", Deg(v.longitude), "deg");
    o.number("altitude", v.altitude, "m");
    for (std::size_t i = 0; i < v.satellites.size(); ++i) o.integer(kChannelNames[i], v.satellites[i]);
  }));

  // Satellites.
  r.setDecoder(0x5C, Route(d, "Tracking Status", DecodeTrackingStatus,
                           [](ReportDecoder& o, const TrackingStatus& v) {
    o.integer("satellite", v.satellite);
    o.integer("channel", v.channel);
    o.integer("acquisition", v.acquisition);
    o.integer("ephemeris", v.ephemeris);
    o.single("signalLevel", v.signalLevel, "AMU");
    o.single("lastMeasurement", v.lastMeasurement, "s");
    o.number("elevation", Deg(v.elevation), "deg");
    o.number("azimuth", Deg(v.azimuth), "deg");
  }));
  r.setDecoder(0x6D, Route(d, "Satellite Selection", DecodeSatelliteSelection,
                           [](ReportDecoder& o, const SatelliteSelection& v) {
    o.integer("mode", v.mode);
    o.single("pdop", v.pdop);
    o.single("hdop", v.hdop);
    o.single("vdop", v.vdop);
    o.single("tdop", v.tdop);
    // Space-separated, negative for a satellite not used: one column in CSV.
    std::string& arena = o.textArena();
    const std::size_t start = arena.size();
    for (int k = 0; k < v.satelliteCount; ++k) {
      if (k > 0) arena.push_back(' ');
      char buf[8];
      const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<int>(v.satellites[static_cast<std::size_t>(k)])).ptr;
      arena.append(buf, end);
    }
    o.textFrom("satellites", start);
  }));
  r.setDecoder(0x5A, Route(d, "Raw Measurement", DecodeRawMeasurement,
                           [](ReportDecoder& o, const RawMeasurement& v) {
    o.integer("satellite", v.satellite);
    o.single("sampleLength", v.sampleLength, "ms");
    o.single("signalLevel", v.signalLevel, "AMU");
    o.single("codePhase", v.codePhase, "1/16 chip");
    o.single("doppler", v.doppler, "Hz");
    o.number("time", v.time, "s");
  }));
  r.setDecoder(0x5B, Route(d, "Ephemeris Status", DecodeEphemerisStatus,
                           [](ReportDecoder& o, const EphemerisStatus& v) {
    o.integer("satellite", v.satellite);
    o.single("collectionTime", v.collectionTime, "s");
    o.integer("health", v.health);
    o.integer("iode", v.iode);
    o.single("toe", v.toe, "s");
    o.integer("fitFlag", v.fitFlag);
    o.single("accuracy", v.accuracy, "m");
  }));
  r.setDecoder(0x40, Route(d, "Almanac Data", DecodeAlmanacData,
                           [](ReportDecoder& o, const AlmanacData& v) {
    o.integer("satellite", v.satellite);
    o.single("tZc", v.tZc, "s");
    o.integer("week", v.week);
    o.single("eccentricity", v.eccentricity);
    o.single("tOa", v.tOa, "s");
    o.single("inclination", v.inclination, "rad");
    o.single("omegaDot", v.omegaDot, "rad/s");
    o.single("sqrtA", v.sqrtA, "m^1/2");
    o.single("omega0", v.omega0, "rad");
    o.single("omega", v.omega, "rad");
    o.single("meanAnomaly", v.meanAnomaly, "rad");
  }));
  r.setDecoder(0x49, Route(d, "Almanac Health", DecodeAlmanacHealth,
                           [](ReportDecoder& o, const AlmanacHealth& v) {
    for (std::size_t i = 0; i < v.health.size(); ++i) o.integer(kSvNames[i], v.health[i]);
  }));

  // The receiver itself.
  r.setDecoder(0x45, Route(d, "Software Version", DecodeSoftwareVersion,
                           [](ReportDecoder& o, const SoftwareVersion& v) {
    char scratch[32];
    Version(o, "applicationVersion", "applicationDate", v.application, scratch);
    Version(o, "signalProcessorVersion", "signalProcessorDate", v.signalProcessor, scratch);
    o.integer("longForm", v.longForm ? 1 : 0);
    o.integer("build", v.build);
    o.integer("buildHour", v.hour, "h");
    o.integer("buildMinute", v.minute, "min");
    o.integer("buildSecond", v.second, "s");
  }));
  r.setDecoder(0x46, Route(d, "Health", DecodeHealth, [](ReportDecoder& o, const Health& v) {
    o.integer("status", v.status);
  }));
  // Routed, and shown nowhere: its bytes are kept as they came.
  r.setDecoder(0x4B, [&d](const std::uint8_t* payload, int length) {
    d.begin("Machine Code/Status");
    std::string& arena = d.textArena();
    const std::size_t start = arena.size();
    for (int i = 0; i < length; ++i) {
      char h[2];
      Hex2(h, payload[i]);
      if (i > 0) arena.push_back(' ');
      arena.append(h, 2);
    }
    d.textFrom("bytes", start);
    d.finished();
  });
  r.setDecoder(0x4E, Route(d, "Set Time Reply", DecodeSetTimeReply,
                           [](ReportDecoder& o, const SetTimeReply& v) {
    o.integer("accepted", v.accepted ? 1 : 0);
  }));
  r.setSegmentStatusDecoder(Route(d, "EEPROM Segment Status", DecodeSegmentStatus,
                                  [](ReportDecoder& o, const SegmentStatus& v) {
    o.integer("invalidSegments", v.bits);
  }));
  r.setDiagnosticDecoder([&d](const std::uint8_t* payload, int length) {
    // Only the two fatal kinds have a layout; any other is an unknown sub-code.
    if (length < 1 || (payload[0] != FatalMessage::kError && payload[0] != FatalMessage::kException)) return;
    d.begin(payload[0] == FatalMessage::kError ? "Application Fatal Error" : "Application Exception");
    if (const auto v = DecodeFatalMessage(payload, length)) {
      d.text("message", std::string_view(v->text.constData(), static_cast<std::size_t>(v->text.size())));
      d.finished();
    }
  });
  r.setDeveloperMode(true);
  r.setSuperDecoder(kSuper, 0x41, Route(d, "Manufacturing Parameters", DecodeManufacturingParameters,
                                        [](ReportDecoder& o, const ManufacturingParameters& v) {
    o.integer("serialPrefix", v.serialPrefix);
    o.integer("serialNumber", v.serialNumber);
    o.integer("year", v.year2);
    o.integer("month", v.month);
    o.integer("day", v.day);
    o.integer("hour", v.hour, "h");
    o.single("oscillatorOffset", v.oscillatorOffset, "ppb");
    o.integer("testCode", v.testCode);
  }));
  r.setSuperDecoder(kSuper, 0x42, Route(d, "Production Parameters", DecodeProductionParameters,
                                        [](ReportDecoder& o, const ProductionParameters& v) {
    o.integer("optionsPrefix", v.optionsPrefix);
    o.integer("numberExtension", v.numberExtension);
    o.integer("caseSerialPrefix", v.caseSerialPrefix);
    o.integer("caseSerialNumber", v.caseSerialNumber);
    o.integer("productionNumber", v.productionNumber);
    o.integer("premiumOptions", v.premiumOptions);
    o.integer("machineId", v.machineId);
  }));

  // Configuration reports.
  r.setDecoder(0x4F, Route(d, "UTC Parameters", DecodeUtcParameters,
                           [](ReportDecoder& o, const UtcParameters& v) {
    o.number("a0", v.a0, "s");
    o.single("a1", v.a1, "s/s");
    o.integer("deltaTls", v.deltaTls, "s");
    o.single("tot", v.tot, "s");
    o.integer("wnT", v.wnT);
    o.integer("wnLsf", v.wnLsf);
    o.integer("dn", v.dn, "day");
    o.integer("deltaTlsf", v.deltaTlsf, "s");
  }));
  r.setDecoder(0x55, Route(d, "I/O Options", DecodeIoOptions, [](ReportDecoder& o, const IoOptions& v) {
    o.integer("position", v.position);
    o.integer("velocity", v.velocity);
    o.integer("timing", v.timing);
    o.integer("auxiliary", v.auxiliary);
  }));
  r.setDecoder(0x7B, Route(d, "NMEA Settings", DecodeNmeaSettings,
                           [](ReportDecoder& o, const NmeaSettings& v) {
    o.integer("interval", v.interval, "s");
    o.integer("mask", v.mask);
  }));
  r.setDecoder(0xBB, Route(d, "Receiver Configuration", DecodeReceiverConfiguration,
                           [](ReportDecoder& o, const ReceiverConfigurationReport& v) {
    o.integer("receiverMode", v.receiverMode);
    o.integer("dgpsMode", v.dgpsMode);
    o.integer("dynamicsCode", v.dynamicsCode);
    o.number("elevationMask", Deg(v.elevationMask), "deg");
    o.single("signalLevelMask", v.signalLevelMask, "AMU");
    o.single("pdopMask", v.pdopMask);
    o.single("pdopSwitch", v.pdopSwitch);
    o.integer("dgpsAgeLimit", v.dgpsAgeLimit, "s");
  }));
  r.setDecoder(0xBC, Route(d, "Serial Port Configuration", DecodeSerialPortReport,
                           [](ReportDecoder& o, const SerialPortReport& v) {
    o.integer("port", v.port);
    o.integer("baudCode", v.baudCode);
    o.integer("dataBitsCode", v.dataBitsCode);
    o.integer("parityCode", v.parityCode);
    o.integer("stopBitsCode", v.stopBitsCode);
    o.integer("inputProtocol", v.inputProtocol);
    o.integer("outputProtocol", v.outputProtocol);
  }));
  r.setSuperDecoder(kSuper, 0x15, Route(d, "Datum", DecodeDatumReport, [](ReportDecoder& o, const DatumReport& v) {
    o.integer("datumIndex", v.datumIndex);
  }));
  r.setSuperDecoder(kSuper, 0x4A, Route(d, "PPS Characteristics", DecodePpsCharacteristics,
                                        [](ReportDecoder& o, const PpsCharacteristicsReport& v) {
    o.integer("driverSwitch", v.driverSwitch);
    o.integer("timeBase", v.timeBase);
    o.integer("polarity", v.polarity);
    o.number("ppsOffset", v.ppsOffset, "s");
    o.single("biasUncertainty", v.biasUncertainty, "m");
  }));
  r.setSuperDecoder(kSuper, 0x4B, Route(d, "Survey Limit", DecodeSurveyLimit,
                                        [](ReportDecoder& o, const SurveyLimitReport& v) {
    o.integer("limit", v.limit);
  }));
  r.setSuperDecoder(kSuper, 0x4D, Route(d, "Automatic Output Mask", DecodeAutomaticOutputMask,
                                        [](ReportDecoder& o, const AutomaticOutputMaskReport& v) {
    o.integer("mask", v.mask);
  }));
  r.setSuperDecoder(kSuper, 0x4E, Route(d, "PPS Output", DecodePpsOutput,
                                        [](ReportDecoder& o, const PpsOutputReport& v) {
    o.integer("mode", v.mode);
  }));
  r.setSuperDecoder(kSuper, 0x4F, Route(d, "PPS Width", DecodePpsWidth,
                                        [](ReportDecoder& o, const PpsWidthReport& v) {
    o.number("width", v.width, "s");
  }));
  r.setSuperDecoder(kSuper, 0xA5, Route(d, "Broadcast Mask", DecodeBroadcastMask,
                                        [](ReportDecoder& o, const BroadcastMaskReport& v) {
    o.integer("mask1", v.mask1);
    o.integer("mask2", v.mask2);
  }));
  r.setSuperDecoder(kSuper, 0xA9, Route(d, "Self-Survey Parameters", DecodeSelfSurvey,
                                        [](ReportDecoder& o, const SelfSurveyReport& v) {
    o.integer("enabled", v.enabled ? 1 : 0);
    o.integer("savePosition", v.savePosition ? 1 : 0);
    o.integer("length", v.length, "fixes");
  }));
}

}  // namespace

std::string_view ReportKind(int id, const std::uint8_t* payload, int length, char (&out)[8]) {
  Hex2(out, id);
  if (id == ReportDispatcher::kLlaReport && length == ReportDispatcher::kAltitudeLength) {
    std::string_view("-ALT").copy(out + 2, 4);
    return std::string_view(out, 6);
  }
  if ((id == ReportDispatcher::kSuperReport || id == ReportDispatcher::kSegmentReport) &&
      length >= 1) {
    out[2] = '-';
    Hex2(out + 3, payload[0]);
    return std::string_view(out, 5);
  }
  return std::string_view(out, 2);
}

ReportDecoder::ReportDecoder() : dispatcher_(std::make_unique<link::ReportDispatcher>()) {
  texts_.reserve(4096);
  RegisterLayouts(*dispatcher_, *this);
}

ReportDecoder::~ReportDecoder() = default;

DecodeOutcome ReportDecoder::decode(int id, const std::uint8_t* payload, int length) {
  static constexpr std::uint8_t kNone[1] = {0};
  if (payload == nullptr || length < 0) {
    payload = kNone;
    length = 0;
  }
  routed_ = false;
  decoded_ = false;
  count_ = 0;
  texts_.clear();
  name_ = {};
  kind_ = ReportKind(id, payload, length, kindBuffer_);
  dispatcher_->dispatch(id, payload, length);
  if (decoded_) return DecodeOutcome::Decoded;
  count_ = 0;
  if (routed_) return DecodeOutcome::WrongLength;
  return id == ReportDispatcher::kSuperReport || id == ReportDispatcher::kSegmentReport
             ? DecodeOutcome::UnknownSubCode
             : DecodeOutcome::UnknownId;
}

void ReportDecoder::begin(const char* name) {
  routed_ = true;
  name_ = name;
  count_ = 0;
  texts_.clear();
}

DecodedField& ReportDecoder::next(std::string_view name, std::string_view unit, FieldType type) {
  // Every layout has fewer fields than the table holds; the last slot is reused rather than overrun.
  DecodedField& f = fields_[static_cast<std::size_t>(count_ < kMaxFields ? count_++ : kMaxFields - 1)];
  f.name = name;
  f.unit = unit;
  f.type = type;
  return f;
}

void ReportDecoder::integer(std::string_view name, std::int64_t value, std::string_view unit) {
  next(name, unit, FieldType::Integer).integer = value;
}

void ReportDecoder::single(std::string_view name, double value, std::string_view unit) {
  next(name, unit, FieldType::Single).number = value;
}

void ReportDecoder::number(std::string_view name, double value, std::string_view unit) {
  next(name, unit, FieldType::Double).number = value;
}

void ReportDecoder::text(std::string_view name, std::string_view value) {
  const std::size_t start = texts_.size();
  texts_.append(value);
  textFrom(name, start);
}

void ReportDecoder::textFrom(std::string_view name, std::size_t start) {
  DecodedField& f = next(name, "", FieldType::Text);
  f.textStart = static_cast<std::uint32_t>(start);
  f.textLength = static_cast<std::uint32_t>(texts_.size() - start);
}

}  // namespace halvix::tools
