#include "app/decoder_wiring.h"

#include "app/main_window.h"
#include "app/system_clock.h"
#include "app/windows.h"
#include "link/report_dispatcher.h"
#include "reports/charts_window.h"
#include "reports/config_decoders.h"
#include "reports/decoder_context.h"
#include "reports/position_decoders.h"
#include "reports/satellite_decoders.h"
#include "reports/timing_decoders.h"
#include "reports/version_decoders.h"
#include "tools/diagnostics_window.h"

namespace halvix::app {

namespace {

using DecoderFn = void (*)(const reports::DecoderContext&, const std::uint8_t*, int);

}  // namespace

void WireDecoders(Windows& windows, AppContext& context) {
  windows.decoders = std::make_unique<reports::DecoderContext>(
      reports::DecoderContext{windows, context.display, context.prompts, context.link,
                               context.readBack, {}, {}, {}, {}, {}, {}, {}, {}});
  reports::DecoderContext* ctx = windows.decoders.get();
  ctx->setPcClockFromGps = [&context](double gpsSeconds, float utcOffset) {
    if (context.pcClock != nullptr) {
      SetPcClockFromGps(context.prompts, *context.pcClock, gpsSeconds, utcOffset);
      return;
    }
    // No clock seam: the transfer fails rather than touch the machine's time.
    FixedPcClock refusing({}, false);
    SetPcClockFromGps(context.prompts, refusing, gpsSeconds, utcOffset);
  };

  tools::TForm_Diagnostics* diagnostics = windows.diagnostics.get();
  ctx->nextTrackingReset = [diagnostics] { diagnostics->NextTrackingReset(); };
  ctx->appFatalError = [diagnostics] { diagnostics->AppFatalError(); };
  ctx->appFatalException = [diagnostics] { diagnostics->AppFatalException(); };
  reports::TForm_Charts* charts = windows.charts.get();
  ctx->chartTiming = [charts](const reports::SupplementalTiming& r) { charts->AddTiming(r); };
  ctx->chartTracking = [charts](const reports::TrackingStatus& r) { charts->AddTracking(r); };
  ctx->chartSelection = [charts](const reports::SatelliteSelection& r) { charts->AddSelection(r); };

  const auto bind = [ctx](DecoderFn fn) {
    return [ctx, fn](const std::uint8_t* payload, int length) { fn(*ctx, payload, length); };
  };
  link::ReportDispatcher& d = windows.main->dispatcher();
  constexpr int kSuper = link::ReportDispatcher::kSuperReport;

  // Timing super-reports.
  d.setSuperDecoder(kSuper, 0xAB, bind(&reports::Report8FABDecoder));
  d.setSuperDecoder(kSuper, 0xAC, bind(&reports::Report8FACDecoder));
  d.setSuperDecoder(kSuper, 0xAD, bind(&reports::Report8FADDecoder));

  // Time, position and velocity.
  d.setDecoder(0x41, bind(&reports::Report41Decoder));
  d.setDecoder(0x42, bind(&reports::Report42Decoder));
  d.setDecoder(0x43, bind(&reports::Report43Decoder));
  d.setDecoder(0x4A, bind(&reports::Report4ADecoder));
  d.setAltitudeDecoder(bind(&reports::Report4AAltitudeDecoder));
  d.setDecoder(0x56, bind(&reports::Report56Decoder));
  d.setDecoder(0x83, bind(&reports::Report83Decoder));
  d.setDecoder(0x84, bind(&reports::Report84Decoder));
  d.setSuperDecoder(kSuper, 0x0B, bind(&reports::Report8F0BDecoder));

  // Satellites.
  d.setDecoder(0x5C, bind(&reports::Report5CDecoder));
  d.setDecoder(0x6D, bind(&reports::Report6DDecoder));
  d.setDecoder(0x5A, bind(&reports::Report5ADecoder));
  d.setDecoder(0x5B, bind(&reports::Report5BDecoder));
  d.setDecoder(0x40, bind(&reports::Report40Decoder));
  d.setDecoder(0x49, bind(&reports::Report49Decoder));

  // The receiver itself: versions, health, parameters, segment status.
  d.setDecoder(0x45, bind(&reports::Report45Decoder));
  d.setDecoder(0x46, bind(&reports::Report46Decoder));
  d.setDecoder(0x4B, bind(&reports::Report4BDecoder));
  d.setDecoder(0x4E, bind(&reports::Report4EDecoder));
  d.setSegmentStatusDecoder(bind(&reports::Report5F11Decoder));
  d.setDiagnosticDecoder(bind(&reports::Report5FDiagnosticDecoder));
  d.setSuperDecoder(kSuper, 0x41, bind(&reports::Report8F41Decoder));
  d.setSuperDecoder(kSuper, 0x42, bind(&reports::Report8F42Decoder));
  // Configuration reports.
  d.setDecoder(0x4F, bind(&reports::Report4FDecoder));
  d.setDecoder(0x55, bind(&reports::Report55Decoder));
  d.setDecoder(0x7B, bind(&reports::Report7BDecoder));
  d.setDecoder(0xBB, bind(&reports::ReportBBDecoder));
  d.setDecoder(0xBC, bind(&reports::ReportBCDecoder));
  d.setSuperDecoder(kSuper, 0x15, bind(&reports::Report8F15Decoder));
  d.setSuperDecoder(kSuper, 0x4A, bind(&reports::Report8F4ADecoder));
  d.setSuperDecoder(kSuper, 0x4B, bind(&reports::Report8F4BDecoder));
  d.setSuperDecoder(kSuper, 0x4D, bind(&reports::Report8F4DDecoder));
  d.setSuperDecoder(kSuper, 0x4E, bind(&reports::Report8F4EDecoder));
  d.setSuperDecoder(kSuper, 0x4F, bind(&reports::Report8F4FDecoder));
  d.setSuperDecoder(kSuper, 0xA5, bind(&reports::Report8FA5Decoder));
  d.setSuperDecoder(kSuper, 0xA9, bind(&reports::Report8FA9Decoder));

  windows.main->hooks.ageSatelliteRows = [ctx] { reports::AgeSatelliteRows(*ctx); };
}

}  // namespace halvix::app
