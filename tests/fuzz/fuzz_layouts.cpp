#include "tests/fuzz/fuzz_layouts.h"

#include <QString>
#include <cmath>

#include "link/report_dispatcher.h"
#include "reports/config_layouts.h"
#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "reports/satellite_layouts.h"
#include "reports/timing_layouts.h"
#include "reports/version_layouts.h"

namespace halvix::fuzz {

namespace {

using link::ReportDispatcher;
using namespace reports;

// Keeps the formatted text alive so nothing is optimised away.
volatile qsizetype gSink = 0;
void Use(const QString& text) { gSink = gSink + text.size(); }

// Angles and times go through the same formatters the windows use.
void Angle(double radians) {
  const double degrees = radians * 57.295827908797776;
  Use(FormatLatLon(degrees, false));
  Use(FormatLatLon(degrees, true));
  Use(FormatDegMinSec(degrees));
}

void Times(double timeOfWeek, double gpsSeconds) {
  Use(FormatWeekTime(static_cast<float>(timeOfWeek), false));
  Use(FormatPreciseWeekTime(timeOfWeek));
  Use(FormatGpsDate(gpsSeconds));
}

// A layout with nothing to format beyond its numbers.
constexpr auto kNumbersOnly = [](const auto&) {};

template <typename Decode, typename Show>
ReportDispatcher::Decoder Layout(Decode decode, Show show) {
  return [decode, show](const std::uint8_t* payload, int length) {
    if (const auto r = decode(payload, length)) show(*r);
  };
}

}  // namespace

void RegisterEveryLayout(ReportDispatcher& d) {
  constexpr int kSuper = ReportDispatcher::kSuperReport;
  d.setSuperDecoder(kSuper, 0xAB, Layout(DecodePrimaryTiming, [](const PrimaryTiming& r) {
    Use(r.timeScaleText());
    Use(r.clockText());
    Use(r.dateText());
  }));
  d.setSuperDecoder(kSuper, 0xAC, Layout(DecodeSupplementalTiming, [](const SupplementalTiming& r) {
    Use(r.surveyText());
    Use(SupplementalModeText(r.receiverMode));
    Use(SupplementalStatusText(r.statusCode));
    Angle(r.latitude);
    Angle(r.longitude);
  }));
  d.setSuperDecoder(kSuper, 0xAD, Layout(DecodePrimaryUtcTime, [](const PrimaryUtcTime& r) {
    Use(r.timeText());
    Use(r.dateText());
    Use(r.timeScaleText());
  }));
  d.setDecoder(0x41, Layout(DecodeGpsTime, [](const GpsTime& r) { Times(r.timeOfWeek, r.gpsSeconds()); }));
  d.setDecoder(0x42, Layout(DecodeXyzPosition, [](const XyzPosition& r) { Use(QString::number(r.x + r.y + r.z)); }));
  d.setDecoder(0x43, Layout(DecodeXyzVelocity, [](const XyzVelocity& r) { Use(QString::number(r.biasRate)); }));
  d.setDecoder(0x4A, Layout(DecodeLlaPosition, [](const LlaPosition& r) {
    Angle(r.latitude);
    Angle(r.longitude);
  }));
  d.setAltitudeDecoder(Layout(DecodeReferenceAltitude, [](const ReferenceAltitude& r) {
    Use(QString::asprintf("%.3f", r.altitude));
  }));
  d.setDecoder(0x56, Layout(DecodeEnuVelocity, [](const EnuVelocity& r) { Use(QString::number(r.up)); }));
  d.setDecoder(0x83, Layout(DecodePreciseXyzPosition, [](const PreciseXyzPosition& r) {
    Use(QString::asprintf("%.2f", r.clockBias));
  }));
  d.setDecoder(0x84, Layout(DecodePreciseLlaPosition, [](const PreciseLlaPosition& r) {
    Angle(r.latitude);
    Angle(r.longitude);
  }));
  d.setSuperDecoder(kSuper, 0x0B, Layout(DecodeComprehensiveTime, [](const ComprehensiveTime& r) {
    Use(r.dateText());
    Use(r.utcOffsetText());
    Use(r.timeOfWeekText());
    Use(ComprehensiveModeText(r.receiverMode));
    const ComprehensiveTimeTexts t = FormatComprehensiveTimes(r.timeOfWeek, r.utcOffset);
    Use(t.gpsTime + t.utcTime);
  }));
  d.setDecoder(0x5C, Layout(DecodeTrackingStatus, [](const TrackingStatus& r) {
    Use(r.rowText());
    Use(r.satelliteText());
    Use(r.signalText());
  }));
  d.setDecoder(0x6D, Layout(DecodeSatelliteSelection, [](const SatelliteSelection& r) {
    Use(r.listText());
    Use(FormatDop(r.pdop));
  }));
  d.setDecoder(0x5A, Layout(DecodeRawMeasurement, [](const RawMeasurement& r) {
    Use(r.sampleLengthText() + r.signalLevelText() + r.codePhaseText() + r.dopplerText() + r.timeText());
  }));
  d.setDecoder(0x5B, Layout(DecodeEphemerisStatus, [](const EphemerisStatus& r) {
    Use(r.collectionTimeText() + r.healthText() + r.iodeText() + r.toeText() + r.fitFlagText() +
        r.accuracyText());
  }));
  d.setDecoder(0x40, Layout(DecodeAlmanacData, [](const AlmanacData& r) {
    for (const QString& t : r.panelTexts()) Use(t);
  }));
  // The receiver itself.
  d.setDecoder(0x45, Layout(DecodeSoftwareVersion, [](const SoftwareVersion& r) {
    Use(r.application.versionText() + r.application.dateText() + r.signalProcessor.dateText());
    Use(r.fullVersionText() + r.buildTimeText());
  }));
  d.setDecoder(0x46, Layout(DecodeHealth, [](const Health& r) { Use(HealthStatusText(r.status)); }));
  d.setDecoder(0x4E, Layout(DecodeSetTimeReply, kNumbersOnly));
  d.setSegmentStatusDecoder(Layout(DecodeSegmentStatus, kNumbersOnly));
  d.setDiagnosticDecoder(Layout(DecodeFatalMessage, [](const FatalMessage& r) {
    Use(r.label() + QString::fromLatin1(r.text));
  }));
  d.setSuperDecoder(kSuper, 0x41, Layout(DecodeManufacturingParameters, [](const ManufacturingParameters& r) {
    Use(r.buildDateText());
  }));
  d.setSuperDecoder(kSuper, 0x42, Layout(DecodeProductionParameters, [](const ProductionParameters& r) {
    Use(QString::number(r.receiverType()));
  }));

  // Configuration reports.
  d.setDecoder(0x4F, Layout(DecodeUtcParameters, kNumbersOnly));
  d.setDecoder(0x55, Layout(DecodeIoOptions, kNumbersOnly));
  d.setDecoder(0x7B, Layout(DecodeNmeaSettings, kNumbersOnly));
  d.setDecoder(0xBB, Layout(DecodeReceiverConfiguration, kNumbersOnly));
  d.setDecoder(0xBC, Layout(DecodeSerialPortReport, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0x15, Layout(DecodeDatumReport, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0x4A, Layout(DecodePpsCharacteristics, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0x4B, Layout(DecodeSurveyLimit, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0x4D, Layout(DecodeAutomaticOutputMask, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0x4E, Layout(DecodePpsOutput, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0x4F, Layout(DecodePpsWidth, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0xA5, Layout(DecodeBroadcastMask, kNumbersOnly));
  d.setSuperDecoder(kSuper, 0xA9, Layout(DecodeSelfSurvey, kNumbersOnly));

  d.setDecoder(0x49, Layout(DecodeAlmanacHealth, [](const AlmanacHealth& r) {
    for (int sv = 0; sv <= 33; ++sv) Use(r.healthText(sv));
  }));
}

}  // namespace halvix::fuzz
