#include "app/decoder_wiring.h"

#include <QStringList>
#include <algorithm>

#include "app/main_window.h"
#include "platform/system_clock.h"
#include "app/windows.h"
#include "link/report_dispatcher.h"
#include "reports/charts_window.h"
#include "reports/config_decoders.h"
#include "reports/decoder_context.h"
#include "reports/position_decoders.h"
#include "reports/report_registry.h"
#include "reports/satellite_decoders.h"
#include "reports/timing_decoders.h"
#include "reports/version_decoders.h"
#include "tools/diagnostics_window.h"

namespace halvix::app {

namespace {

constexpr GuiDecoderBinding kBindings[] = {
    // Timing super-reports.
    {"8F-AB", &reports::Report8FABDecoder},
    {"8F-AC", &reports::Report8FACDecoder},
    {"8F-AD", &reports::Report8FADDecoder},
    // Time, position and velocity.
    {"41", &reports::Report41Decoder},
    {"42", &reports::Report42Decoder},
    {"43", &reports::Report43Decoder},
    {"4A", &reports::Report4ADecoder},
    {"4A-ALT", &reports::Report4AAltitudeDecoder},
    {"56", &reports::Report56Decoder},
    {"83", &reports::Report83Decoder},
    {"84", &reports::Report84Decoder},
    {"8F-0B", &reports::Report8F0BDecoder},
    // Satellites.
    {"5C", &reports::Report5CDecoder},
    {"6D", &reports::Report6DDecoder},
    {"5A", &reports::Report5ADecoder},
    {"5B", &reports::Report5BDecoder},
    {"40", &reports::Report40Decoder},
    {"49", &reports::Report49Decoder},
    // The receiver itself: versions, health, parameters, segment status.
    {"45", &reports::Report45Decoder},
    {"46", &reports::Report46Decoder},
    {"4B", &reports::Report4BDecoder},
    {"4E", &reports::Report4EDecoder},
    {"5F-11", &reports::Report5F11Decoder},
    {"5F-FF", &reports::Report5FDiagnosticDecoder},
    {"5F-FE", &reports::Report5FDiagnosticDecoder},
    {"8F-41", &reports::Report8F41Decoder},
    {"8F-42", &reports::Report8F42Decoder},
    // Configuration reports.
    {"4F", &reports::Report4FDecoder},
    {"55", &reports::Report55Decoder},
    {"7B", &reports::Report7BDecoder},
    {"BB", &reports::ReportBBDecoder},
    {"BC", &reports::ReportBCDecoder},
    {"8F-15", &reports::Report8F15Decoder},
    {"8F-4A", &reports::Report8F4ADecoder},
    {"8F-4B", &reports::Report8F4BDecoder},
    {"8F-4D", &reports::Report8F4DDecoder},
    {"8F-4E", &reports::Report8F4EDecoder},
    {"8F-4F", &reports::Report8F4FDecoder},
    {"8F-A5", &reports::Report8FA5Decoder},
    {"8F-A9", &reports::Report8FA9Decoder},
};

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::span<const GuiDecoderBinding> GuiDecoderBindings() { return kBindings; }

QString DecoderBindingProblems(std::span<const GuiDecoderBinding> bindings) {
  QStringList problems;
  for (const reports::ReportKindRow& row : reports::ReportKinds()) {
    const auto bound = std::find_if(bindings.begin(), bindings.end(), [&row](const GuiDecoderBinding& b) {
      return b.key == row.key() && b.decoder != nullptr;
    });
    if (bound == bindings.end()) {
      problems << QStringLiteral("Report %1 (%2) has no decoder.").arg(Latin1(row.key()), Latin1(row.name));
    }
  }
  for (const GuiDecoderBinding& b : bindings) {
    if (reports::FindReportKind(b.key) == nullptr) {
      problems << QStringLiteral("A decoder is bound to report %1, which is not routed.").arg(Latin1(b.key));
    }
  }
  return problems.join(QLatin1Char('\n'));
}

void WireDecoders(Windows& windows, AppContext& context) {
  reports::DecoderWindows shown;
  shown.main = windows.main.get();
  shown.velPos = windows.velPos.get();
  shown.addTiming = windows.addTiming.get();
  shown.product = windows.product.get();
  shown.rawMeas = windows.rawMeas.get();
  shown.ephemStat = windows.ephemStat.get();
  shown.track = windows.track.get();
  shown.utcParam = windows.utcParam.get();
  shown.altitude = windows.altitude.get();
  shown.autoOut = windows.autoOut.get();
  shown.briselPortAOut = windows.briselPortAOut.get();
  shown.briselSurvey = windows.briselSurvey.get();
  shown.datum = windows.datum.get();
  shown.gps = windows.gps.get();
  shown.initialTime = windows.initialTime.get();
  shown.nmea = windows.nmea.get();
  shown.packetMasks = windows.packetMasks.get();
  shown.selfSurvey = windows.selfSurvey.get();
  shown.serial = windows.serial.get();
  shown.timingOut = windows.timingOut.get();
  shown.almanacData = windows.almanacData.get();
  shown.almHealth = windows.almHealth.get();
  shown.eeprom = windows.eeprom.get();
  shown.message = windows.message.get();
  windows.decoders = std::make_unique<reports::DecoderContext>(reports::DecoderContext{
      shown, context.display, context.prompts, context.link, context.readBack,
      context.developerMode, {}, {}, {}, {}, {}, {}, {}, {}});
  reports::DecoderContext* ctx = windows.decoders.get();
  ctx->setPcClockFromGps = [&context](double gpsSeconds, float utcOffset) {
    if (context.pcClock != nullptr) {
      platform::SetPcClockFromGps(context.prompts, *context.pcClock, gpsSeconds, utcOffset);
      return;
    }
    // No clock seam: the transfer fails rather than touch the machine's time.
    platform::FixedPcClock refusing({}, false);
    platform::SetPcClockFromGps(context.prompts, refusing, gpsSeconds, utcOffset);
  };

  tools::TForm_Diagnostics* diagnostics = windows.diagnostics.get();
  ctx->nextTrackingReset = [diagnostics] { diagnostics->NextTrackingReset(); };
  ctx->appFatalError = [diagnostics] { diagnostics->AppFatalError(); };
  ctx->appFatalException = [diagnostics] { diagnostics->AppFatalException(); };
  reports::TForm_Charts* charts = windows.charts.get();
  ctx->chartTiming = [charts](const reports::SupplementalTiming& r) { charts->AddTiming(r); };
  ctx->chartTracking = [charts](const reports::TrackingStatus& r) { charts->AddTracking(r); };
  ctx->chartSelection = [charts](const reports::SatelliteSelection& r) { charts->AddSelection(r); };

  link::ReportDispatcher& d = windows.main->dispatcher();
  d.setRoutes(reports::ReportRoutes());
  for (const GuiDecoderBinding& b : GuiDecoderBindings()) {
    d.setDecoder(b.key, [ctx, fn = b.decoder](const std::uint8_t* payload, int length) { fn(*ctx, payload, length); });
  }

  windows.main->hooks.ageSatelliteRows = [ctx] { reports::AgeSatelliteRows(*ctx); };
}

}  // namespace halvix::app
