#include "tests/fuzz/fuzz_layouts.h"

#include <QString>
#include <cmath>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "link/report_dispatcher.h"
#include "reports/config_layouts.h"
#include "reports/formatters.h"
#include "reports/position_layouts.h"
#include "reports/report_registry.h"
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

template <typename Decode, typename Show>
ReportDispatcher::Decoder Layout(Decode decode, Show show) {
  return [decode, show](const std::uint8_t* payload, int length) {
    if (const auto r = decode(payload, length)) show(*r);
  };
}

// The display texts the decoders build from a kind's values, beyond its fields.
class DisplayTexts {
 public:
  void add(std::string_view key, ReportDispatcher::Decoder show) { shows_.emplace_back(key, std::move(show)); }
  ReportDispatcher::Decoder find(std::string_view key) const {
    for (const auto& [k, show] : shows_) {
      if (k == key) return show;
    }
    return {};
  }

 private:
  std::vector<std::pair<std::string_view, ReportDispatcher::Decoder>> shows_;
};

DisplayTexts EveryDisplayText() {
  DisplayTexts d;
  d.add("8F-AB", Layout(DecodePrimaryTiming, [](const PrimaryTiming& r) {
    Use(r.timeScaleText());
    Use(r.clockText());
    Use(r.dateText());
  }));
  d.add("8F-AC", Layout(DecodeSupplementalTiming, [](const SupplementalTiming& r) {
    Use(r.surveyText());
    Use(SupplementalModeText(r.receiverMode));
    Use(SupplementalStatusText(r.statusCode));
    Angle(r.latitude);
    Angle(r.longitude);
  }));
  d.add("8F-AD", Layout(DecodePrimaryUtcTime, [](const PrimaryUtcTime& r) {
    Use(r.timeText());
    Use(r.dateText());
    Use(r.timeScaleText());
  }));
  d.add("41", Layout(DecodeGpsTime, [](const GpsTime& r) { Times(r.timeOfWeek, r.gpsSeconds()); }));
  d.add("42", Layout(DecodeXyzPosition, [](const XyzPosition& r) { Use(QString::number(r.x + r.y + r.z)); }));
  d.add("43", Layout(DecodeXyzVelocity, [](const XyzVelocity& r) { Use(QString::number(r.biasRate)); }));
  d.add("4A", Layout(DecodeLlaPosition, [](const LlaPosition& r) {
    Angle(r.latitude);
    Angle(r.longitude);
  }));
  d.add("4A-ALT", Layout(DecodeReferenceAltitude, [](const ReferenceAltitude& r) {
    Use(QString::asprintf("%.3f", r.altitude));
  }));
  d.add("56", Layout(DecodeEnuVelocity, [](const EnuVelocity& r) { Use(QString::number(r.up)); }));
  d.add("83", Layout(DecodePreciseXyzPosition, [](const PreciseXyzPosition& r) {
    Use(QString::asprintf("%.2f", r.clockBias));
  }));
  d.add("84", Layout(DecodePreciseLlaPosition, [](const PreciseLlaPosition& r) {
    Angle(r.latitude);
    Angle(r.longitude);
  }));
  d.add("8F-0B", Layout(DecodeComprehensiveTime, [](const ComprehensiveTime& r) {
    Use(r.dateText());
    Use(r.utcOffsetText());
    Use(r.timeOfWeekText());
    Use(ComprehensiveModeText(r.receiverMode));
    const ComprehensiveTimeTexts t = FormatComprehensiveTimes(r.timeOfWeek, r.utcOffset);
    Use(t.gpsTime + t.utcTime);
  }));
  d.add("5C", Layout(DecodeTrackingStatus, [](const TrackingStatus& r) {
    Use(r.rowText());
    Use(r.satelliteText());
    Use(r.signalText());
  }));
  d.add("6D", Layout(DecodeSatelliteSelection, [](const SatelliteSelection& r) {
    Use(r.listText());
    Use(FormatDop(r.pdop));
  }));
  d.add("5A", Layout(DecodeRawMeasurement, [](const RawMeasurement& r) {
    Use(r.sampleLengthText() + r.signalLevelText() + r.codePhaseText() + r.dopplerText() + r.timeText());
  }));
  d.add("5B", Layout(DecodeEphemerisStatus, [](const EphemerisStatus& r) {
    Use(r.collectionTimeText() + r.healthText() + r.iodeText() + r.toeText() + r.fitFlagText() +
        r.accuracyText());
  }));
  d.add("40", Layout(DecodeAlmanacData, [](const AlmanacData& r) {
    for (const QString& t : r.panelTexts()) Use(t);
  }));
  // The receiver itself.
  d.add("45", Layout(DecodeSoftwareVersion, [](const SoftwareVersion& r) {
    Use(r.application.versionText() + r.application.dateText() + r.signalProcessor.dateText());
    Use(r.fullVersionText() + r.buildTimeText());
  }));
  d.add("46", Layout(DecodeHealth, [](const Health& r) { Use(HealthStatusText(r.status)); }));
  d.add("5F-FF", Layout(DecodeFatalMessage, [](const FatalMessage& r) {
    Use(r.label() + QString::fromLatin1(r.text));
  }));
  d.add("8F-41", Layout(DecodeManufacturingParameters, [](const ManufacturingParameters& r) {
    Use(r.buildDateText());
  }));
  d.add("8F-42", Layout(DecodeProductionParameters, [](const ProductionParameters& r) {
    Use(QString::number(r.receiverType()));
  }));

  d.add("49", Layout(DecodeAlmanacHealth, [](const AlmanacHealth& r) {
    for (int sv = 0; sv <= 33; ++sv) Use(r.healthText(sv));
  }));
  d.add("5F-FE", d.find("5F-FF"));
  return d;
}

// Formats every described field, so a value no formatter takes still runs through one.
void FormatFields(const FieldSink& sink) {
  for (int i = 0; i < sink.count(); ++i) {
    const DescribedField& f = sink.field(i);
    switch (f.type) {
      case FieldType::Integer: Use(QString::number(f.integer)); break;
      case FieldType::Single: Use(QString::number(f.number)); break;
      case FieldType::Double: Use(QString::number(f.number, 'g', 17)); break;
      case FieldType::Text: gSink = gSink + static_cast<qsizetype>(sink.text(f).size()); break;
    }
  }
}

}  // namespace

void RegisterEveryLayout(ReportDispatcher& d) {
  d.setRoutes(ReportRoutes());
  const DisplayTexts texts = EveryDisplayText();
  const std::span<const ReportKindRow> kinds = ReportKinds();
  for (std::size_t row = 0; row < kinds.size(); ++row) {
    const ReportKindRow& kind = kinds[row];
    d.setRowDecoder(static_cast<int>(row), [&kind, show = texts.find(kind.key())](const std::uint8_t* payload, int length) {
      FieldSink sink;
      if (!kind.decode(payload, length, &sink)) return;
      FormatFields(sink);
      if (show) show(payload, length);
    });
  }
}

}  // namespace halvix::fuzz
