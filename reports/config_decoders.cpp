#include "reports/config_decoders.h"

#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "commands/brisel_survey_dialog.h"
#include "commands/datum_dialog.h"
#include "commands/gps_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/self_survey_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/config_layouts.h"
#include "reports/decoder_context.h"
#include "reports/utc_param_window.h"

namespace halvix::reports {

void Report4FDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.utcParam, &TForm_UTCParam::showUtcParameters,
         DecodeUtcParameters(payload, length));
}

void Report55Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.packetMasks, &commands::TForm_PacketMasks::showIoOptions,
         DecodeIoOptions(payload, length));
}

void Report7BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<NmeaSettings> r = DecodeNmeaSettings(payload, length);
  if (!r) return;
  ctx.windows.nmea->showSettings(*r);
  ctx.readBack.nmeaInterval = r->interval;
}

void ReportBBDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.gps, &commands::TForm_GPS::showSettings,
         DecodeReceiverConfiguration(payload, length));
}

void ReportBCDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SerialPortReport> r = DecodeSerialPortReport(payload, length);
  if (!r) return;
  ctx.windows.serial->showPort(*r);
  (r->isPortA() ? ctx.readBack.portAParity : ctx.readBack.portBParity) = r->parityCode;
}

void Report8F15Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<DatumReport> r = DecodeDatumReport(payload, length);
  if (!r) return;
  ctx.windows.datum->showDatum(r->datumIndex);
  ctx.readBack.datumIndex = static_cast<std::int16_t>(r->datumIndex);
}

void Report8F4ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.timingOut, &commands::TForm_TimingOut::showCharacteristics,
         DecodePpsCharacteristics(payload, length));
}

void Report8F4BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  if (const std::optional<SurveyLimitReport> r = DecodeSurveyLimit(payload, length)) {
    ctx.windows.briselSurvey->showLimit(r->limit);
  }
}

void Report8F4DDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  if (const std::optional<AutomaticOutputMaskReport> r = DecodeAutomaticOutputMask(payload, length)) {
    ctx.windows.autoOut->showMask(r->mask);
  }
}

void Report8F4EDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PpsOutputReport> r = DecodePpsOutput(payload, length);
  if (!r) return;
  ctx.windows.timingOut->showOutputMode(r->mode);
  ctx.readBack.ppsOutputMode = r->mode;
}

void Report8F4FDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  if (const std::optional<PpsWidthReport> r = DecodePpsWidth(payload, length)) {
    ctx.windows.timingOut->showWidth(r->width);
  }
}

void Report8FA5Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<BroadcastMaskReport> r = DecodeBroadcastMask(payload, length);
  if (!r) return;
  ctx.windows.packetMasks->showBroadcastMask(*r);
  ctx.windows.briselPortAOut->showBroadcastMask(r->mask1);
}

void Report8FA9Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SelfSurveyReport> r = DecodeSelfSurvey(payload, length);
  if (!r) return;
  ctx.windows.selfSurvey->showSettings(*r);
  ctx.readBack.surveyLength = r->length;
}

}  // namespace halvix::reports
