#include "reports/version_decoders.h"

#include "commands/initial_time_dialog.h"
#include "reports/decoder_context.h"
#include "reports/main_view.h"
#include "reports/product_window.h"
#include "reports/version_layouts.h"
#include "tools/eeprom_window.h"
#include "tools/message_window.h"

namespace halvix::reports {

void Report45Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SoftwareVersion> r = DecodeSoftwareVersion(payload, length);
  if (!r) return;
  ctx.main().showFirmwareVersion(r->application.versionText());
  ctx.windows.product->showSoftwareVersion(*r, ctx.developerMode);
}

void Report46Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<Health> r = DecodeHealth(payload, length);
  // While the timing packets are polled, report 0x8F-AC owns the status.
  if (!r || ctx.pollTimingPackets()) return;
  ctx.main().showStatus(HealthStatusText(r->status),
                        QStringLiteral("Mode and Status: Packets 0x46, 8F-0B"));
}

void Report4BDecoder(const DecoderContext&, const std::uint8_t*, int) {}

void Report4EDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  if (const std::optional<SetTimeReply> r = DecodeSetTimeReply(payload, length)) {
    ctx.windows.initialTime->showTimeAccepted(r->accepted);
  }
}

void Report5F11Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.eeprom, &tools::TForm_EEPROM::showSegmentStatus,
         DecodeSegmentStatus(payload, length));
}

void Report5FDiagnosticDecoder(const DecoderContext& ctx, const std::uint8_t* payload,
                               int length) {
  const std::optional<FatalMessage> r = DecodeFatalMessage(payload, length);
  if (!r) return;
  tools::TForm_Message& messages = *ctx.windows.message;
  messages.ShowMessages();
  messages.AppendSeparator();
  messages.AppendMessage(r->label());
  // The receiver's text completes the label's line.
  messages.AppendMessage(QString::fromLatin1(r->text) + QStringLiteral("\r\n"));
  const auto& count = r->exception ? ctx.appFatalException : ctx.appFatalError;
  if (count) count();
}

void Report8F41Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.product, &TForm_Product::showManufacturing,
         DecodeManufacturingParameters(payload, length));
}

void Report8F42Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ProductionParameters> r = DecodeProductionParameters(payload, length);
  if (!r) return;
  ctx.windows.product->showProduction(*r);
  ctx.main().applyReceiverType(r->receiverType());
}

}  // namespace halvix::reports
