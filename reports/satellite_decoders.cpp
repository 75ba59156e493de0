#include "reports/satellite_decoders.h"

#include "reports/decoder_context.h"
#include "reports/ephem_stat_window.h"
#include "reports/main_view.h"
#include "reports/raw_meas_window.h"
#include "reports/satellite_layouts.h"
#include "reports/track_window.h"
#include "tools/alm_health_window.h"
#include "tools/almanac_data_window.h"

namespace halvix::reports {

static_assert(kSatelliteRows == kSvRows, "one countdown and one selection entry per table row");

void Report5CDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  // The layout also turns away channels 12 and up: the table has twelve rows.
  const std::optional<TrackingStatus> r = DecodeTrackingStatus(payload, length);
  if (!r || r->channel < 0 || r->channel >= kSvRows) return;
  if (ctx.chartTracking) ctx.chartTracking(*r);
  const auto index = static_cast<std::size_t>(r->channel);
  ctx.display.svRowCountdown[index] = kCountdownReload;

  ctx.windows.track->showTrackingRow(r->channel, r->rowText());
  ctx.main().showSatelliteRow(r->channel, r->satelliteText(), r->signalText(),
                              SatelliteColour(r->satellite, ctx.display.svSelection));
}

void Report6DDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SatelliteSelection> r = DecodeSatelliteSelection(payload, length);
  if (!r) return;
  if (ctx.chartSelection) ctx.chartSelection(*r);
  ctx.windows.track->showSelection(*r);
  // Only the first twelve take part in colouring; the list shows every byte.
  // The table rows pick the new selection up at their next report 0x5C.
  ctx.display.svSelection = r->table();
}

void AgeSatelliteRows(const DecoderContext& ctx) {
  for (std::size_t i = 0; i < ctx.display.svRowCountdown.size(); ++i) {
    int& countdown = ctx.display.svRowCountdown[i];
    if (countdown <= 0) continue;
    if (--countdown != 0) continue;
    ctx.windows.track->clearTrackingRow(static_cast<int>(i));
    ctx.main().showIdleSatelliteRow(static_cast<int>(i));
  }
}

void Report5ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.rawMeas, &TForm_RawMeas::showRawMeasurement,
         DecodeRawMeasurement(payload, length));
}

void Report5BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.ephemStat, &TForm_EphemStat::showEphemerisStatus,
         DecodeEphemerisStatus(payload, length));
}

void Report40Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.almanacData, &tools::TForm_AlmanacData::showAlmanac,
         DecodeAlmanacData(payload, length));
}

void Report49Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.almHealth, &tools::TForm_AlmHealth::showHealth,
         DecodeAlmanacHealth(payload, length));
}

}  // namespace halvix::reports
