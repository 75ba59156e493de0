#include "reports/position_decoders.h"

#include "commands/altitude_dialog.h"
#include "reports/add_timing_window.h"
#include "reports/decoder_context.h"
#include "reports/formatters.h"
#include "reports/main_view.h"
#include "reports/position_layouts.h"
#include "reports/vel_pos_window.h"

namespace halvix::reports {

namespace {

QString Fixed(const char* format, double value) { return QString::asprintf(format, value); }

}  // namespace

void Report41Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<GpsTime> r = DecodeGpsTime(payload, length);
  if (!r || ctx.pollTimingPackets()) return;
  ctx.display.timeReportCountdown = kCountdownReload;
  // A GPS date: the UTC offset is not applied. Before the receiver has time
  // (time of week -1) there is no date to show, not the eve of the epoch.
  const double gpsSeconds = r->gpsSeconds();
  const bool noTimeYet = r->timeOfWeek == static_cast<double>(kNoTimeOfWeek);
  ctx.main().showTime({Fixed("%.0f", r->timeOfWeek), QString::number(r->week),
                       Fixed("%.0f", r->utcOffset),
                       FormatWeekTime(static_cast<float>(r->timeOfWeek), true),
                       noTimeYet ? QString() : FormatGpsDate(gpsSeconds), QStringLiteral("GPS")},
                      QStringLiteral("Time: Packet 0x41"));
  if (ctx.display.timeToPcPending) {
    ctx.display.timeToPcPending = false;
    if (ctx.setPcClockFromGps) ctx.setPcClockFromGps(gpsSeconds, r->wholeUtcOffset());
  }
}

void Report42Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.velPos, &TForm_VelPos::showPosition, DecodeXyzPosition(payload, length));
}

void Report43Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.velPos, &TForm_VelPos::showVelocity, DecodeXyzVelocity(payload, length));
}

void Report4ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.velPos, &TForm_VelPos::showPosition, DecodeLlaPosition(payload, length));
}

void Report4AAltitudeDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ReferenceAltitude> r = DecodeReferenceAltitude(payload, length);
  if (!r) return;
  ctx.windows.altitude->showAltitude(r->altitude);
  ctx.readBack.refAltitude = static_cast<float>(r->altitude);
  if (ctx.referenceAltitude) ctx.referenceAltitude(static_cast<float>(r->altitude));
}

void Report56Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.velPos, &TForm_VelPos::showVelocity, DecodeEnuVelocity(payload, length));
}

void Report83Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.velPos, &TForm_VelPos::showPosition,
         DecodePreciseXyzPosition(payload, length));
}

void Report84Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.velPos, &TForm_VelPos::showPosition,
         DecodePreciseLlaPosition(payload, length));
}

void Report8F0BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ComprehensiveTime> r = DecodeComprehensiveTime(payload, length);
  if (!r) return;
  ctx.windows.addTiming->showComprehensiveTime(*r);
  // While the timing packets are polled, they own the main window's mode and position.
  if (ctx.pollTimingPackets()) return;
  MainView& main = ctx.main();
  main.showMode(ComprehensiveModeText(r->receiverMode));
  main.showPosition(RadiansToDegrees(r->latitude), RadiansToDegrees(r->longitude), r->altitude,
                    QStringLiteral("Position: Packet 8F-0B"));
}

}  // namespace halvix::reports
