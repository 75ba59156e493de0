#include "reports/position_decoders.h"

#include <QLabel>
#include <QLineEdit>

#include "app/main_window.h"
#include "app/windows.h"
#include "commands/altitude_dialog.h"
#include "reports/add_timing_window.h"
#include "reports/decoder_context.h"
#include "reports/formatters.h"
#include "widgets/group_panel.h"
#include "reports/position_layouts.h"
#include "reports/timing_decoders.h"
#include "widgets/value_panel.h"
#include "reports/vel_pos_window.h"

namespace halvix::reports {

namespace {

QString Fixed(const char* format, double value) { return QString::asprintf(format, value); }

TForm_VelPos::Controls& VelPos(const DecoderContext& ctx) { return ctx.windows.velPos->controls; }

}  // namespace

void Report41Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<GpsTime> r = DecodeGpsTime(payload, length);
  if (!r || ctx.pollTimingPackets()) return;
  ctx.display.timeReportCountdown = kCountdownReload;
  app::TForm_Main::Controls& c = ctx.main().controls;
  c.Panel_TOW->setText(Fixed("%.0f", r->timeOfWeek));
  c.Panel_WeekNum->setText(QString::number(r->week));
  c.Panel_UTCOffset->setText(Fixed("%.0f", r->utcOffset));
  c.Label_TimeType->setText(QStringLiteral("GPS"));
  c.Panel_Time->setText(FormatWeekTime(static_cast<float>(r->timeOfWeek), true));
  // A GPS date: the UTC offset is not applied. Before the receiver has time
  // (time of week -1) there is no date to show, not the eve of the epoch.
  const double gpsSeconds = r->gpsSeconds();
  const bool noTimeYet = r->timeOfWeek == static_cast<double>(kNoTimeOfWeek);
  c.Panel_Date->setText(noTimeYet ? QString() : FormatGpsDate(gpsSeconds));
  if (ctx.display.timeToPcPending) {
    ctx.display.timeToPcPending = false;
    if (ctx.setPcClockFromGps) ctx.setPcClockFromGps(gpsSeconds, r->wholeUtcOffset());
  }
  c.Panel_Timing->setToolTip(QStringLiteral("Time: Packet 0x41"));
}

void Report42Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<XyzPosition> r = DecodeXyzPosition(payload, length);
  if (!r) return;
  TForm_VelPos::Controls& c = VelPos(ctx);
  c.Panel_ECEFPosition->setToolTip(QStringLiteral("Single Precision ECEF Position: Packet 0x42"));
  c.Panel_PosX->setText(Fixed("%.2f", r->x));
  c.Panel_PosY->setText(Fixed("%.2f", r->y));
  c.Panel_PosZ->setText(Fixed("%.2f", r->z));
}

void Report43Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<XyzVelocity> r = DecodeXyzVelocity(payload, length);
  if (!r) return;
  TForm_VelPos::Controls& c = VelPos(ctx);
  c.Panel_VelX->setText(Fixed("%.2f", r->x));
  c.Panel_VelY->setText(Fixed("%.2f", r->y));
  c.Panel_VelZ->setText(Fixed("%.2f", r->z));
  c.Panel_BiasRate->setText(Fixed("%.2f", r->biasRate));
}

void Report4ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<LlaPosition> r = DecodeLlaPosition(payload, length);
  if (!r) return;
  TForm_VelPos::Controls& c = VelPos(ctx);
  c.Panel_LLAPosition->setToolTip(QStringLiteral("Single Precision LLA Position: Packet 0x4A"));
  c.Panel_Latitude->setText(Fixed("%.6f", RadiansToDegrees(r->latitude)));
  c.Panel_Longitude->setText(Fixed("%.6f", RadiansToDegrees(r->longitude)));
  c.Panel_Altitude->setText(Fixed("%.1f", r->altitude));
  c.Panel_LLABias->setText(Fixed("%.2f", r->clockBias));
}

void Report4AAltitudeDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ReferenceAltitude> r = DecodeReferenceAltitude(payload, length);
  if (!r) return;
  ctx.windows.altitude->controls.Edit_Altitude->setText(Fixed("%.3f", r->altitude));
  ctx.readBack.refAltitude = static_cast<float>(r->altitude);
  if (ctx.referenceAltitude) ctx.referenceAltitude(static_cast<float>(r->altitude));
}

void Report56Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<EnuVelocity> r = DecodeEnuVelocity(payload, length);
  if (!r) return;
  TForm_VelPos::Controls& c = VelPos(ctx);
  c.Panel_East->setText(Fixed("%.2f", r->east));
  c.Panel_North->setText(Fixed("%.2f", r->north));
  c.Panel_Up->setText(Fixed("%.2f", r->up));
  c.Panel_ENUBiasRate->setText(Fixed("%.2f", r->biasRate));
}

void Report83Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PreciseXyzPosition> r = DecodePreciseXyzPosition(payload, length);
  if (!r) return;
  TForm_VelPos::Controls& c = VelPos(ctx);
  c.Panel_ECEFPosition->setToolTip(QStringLiteral("Double Precision ECEF Position: Packet 0x83"));
  c.Panel_PosX->setText(Fixed("%.3f", r->x));
  c.Panel_PosY->setText(Fixed("%.3f", r->y));
  c.Panel_PosZ->setText(Fixed("%.3f", r->z));
  c.Panel_ECEFBias->setText(Fixed("%.2f", r->clockBias));
}

void Report84Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PreciseLlaPosition> r = DecodePreciseLlaPosition(payload, length);
  if (!r) return;
  TForm_VelPos::Controls& c = VelPos(ctx);
  c.Panel_LLAPosition->setToolTip(QStringLiteral("Double Precision LLA Position: Packet 0x84"));
  c.Panel_Latitude->setText(Fixed("%.6f", RadiansToDegrees(r->latitude)));
  c.Panel_Longitude->setText(Fixed("%.6f", RadiansToDegrees(r->longitude)));
  c.Panel_Altitude->setText(Fixed("%.3f", r->altitude));
  c.Panel_LLABias->setText(Fixed("%.2f", r->clockBias));
}

void Report8F0BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ComprehensiveTime> r = DecodeComprehensiveTime(payload, length);
  if (!r) return;
  TForm_AddTiming::Controls& c = ctx.windows.addTiming->controls;

  const ComprehensiveTimeTexts times = FormatComprehensiveTimes(r->timeOfWeek, r->utcOffset);
  c.Panel_GPSTime->setText(times.gpsTime);
  c.Panel_UTCTime->setValue(times.utcTime,
                            times.hasUtc ? widgets::ValuePanel::windowColor() : widgets::ValuePanel::buttonFaceColor());
  if (r->eventCount != 0) {
    c.Panel_EventCounter->setText(QString::number(r->eventCount));
    c.Panel_EventTime->setText(FormatPreciseWeekTime(r->timeOfWeek));
  }
  c.Panel_UTCOffset->setText(r->utcOffsetText());
  c.Panel_TOW->setText(r->timeOfWeekText());
  c.Panel_Date->setText(r->dateText());

  const QString mode = ComprehensiveModeText(r->receiverMode);
  c.Panel_RecMode->setText(mode);
  const bool timingPolled = ctx.pollTimingPackets();
  if (!timingPolled) ctx.main().controls.Panel_Mode->setText(mode);

  c.Panel_Bias->setText(Fixed("%.3f", r->oscillatorBias));
  c.Panel_DriftRate->setText(Fixed("%.3f", r->oscillatorDrift));
  c.Panel_BiasUnc->setText(Fixed("%.3f", r->biasUncertainty));
  c.Panel_DriftUnc->setText(Fixed("%.3f", r->driftUncertainty));

  const double latitude = RadiansToDegrees(r->latitude);
  const double longitude = RadiansToDegrees(r->longitude);
  const HemisphereAngle lat = FormatLatitudeHemisphere(latitude);
  c.Panel_LatDeg->setText(lat.degrees);
  c.Panel_LatMin->setText(lat.minutes);
  c.Panel_NorthSouth->setText(lat.hemisphere);
  const HemisphereAngle lon = FormatLongitudeHemisphere(longitude);
  c.Panel_LonDeg->setText(lon.degrees);
  c.Panel_LonMin->setText(lon.minutes);
  c.Panel_EastWest->setText(lon.hemisphere);
  c.Panel_Alt->setText(Fixed("%.3f", r->altitude));

  for (std::size_t i = 0; i < r->satellites.size() && i < c.Panel_SV.size(); ++i) {
    const ComprehensiveSatellite sv = FormatComprehensiveSatellite(r->satellites[i]);
    c.Panel_SV[i]->setValue(sv.text, sv.usedForFixes
                                         ? QColor::fromRgb(TForm_AddTiming::kSatelliteUsedColour)
                                         : widgets::ValuePanel::windowColor());
  }

  if (timingPolled) return;
  app::TForm_Main& main = ctx.main();
  ShowMainPosition(main, latitude, longitude, r->altitude, ctx.display.showDegMinSec);
  main.controls.Panel_Position->setToolTip(QStringLiteral("Position: Packet 8F-0B"));
}

}  // namespace halvix::reports
