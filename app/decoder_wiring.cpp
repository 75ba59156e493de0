#include "app/decoder_wiring.h"

#include "app/main_window.h"
#include "app/system_clock.h"
#include "app/windows.h"
#include "link/report_dispatcher.h"
#include "reports/decoder_context.h"
#include "reports/position_decoders.h"
#include "reports/satellite_decoders.h"
#include "reports/timing_decoders.h"
#include "tools/diagnostics_window.h"

namespace halvix::app {

namespace {

using DecoderFn = void (*)(const reports::DecoderContext&, const std::uint8_t*, int);

}  // namespace

void WireDecoders(Windows& windows, AppContext& context) {
  windows.decoders = std::make_unique<reports::DecoderContext>(
      reports::DecoderContext{windows, context.display, context.prompts, context.link,
                               context.readBack, {}, {}, {}});
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
  windows.main->hooks.ageSatelliteRows = [ctx] { reports::AgeSatelliteRows(*ctx); };
}

}  // namespace halvix::app
