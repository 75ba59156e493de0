#include "reports/version_decoders.h"

#include "app/main_window.h"
#include "app/receiver_types.h"
#include "app/windows.h"
#include "commands/initial_time_dialog.h"
#include "reports/decoder_context.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "reports/product_window.h"
#include "widgets/value_panel.h"
#include "reports/version_layouts.h"
#include "tools/eeprom_window.h"
#include "tools/message_window.h"

namespace halvix::reports {

namespace {

TForm_Product::Controls& Product(const DecoderContext& ctx) {
  return ctx.windows.product->controls;
}

QString Number(long long value) { return QString::number(value); }

}  // namespace

void Report45Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SoftwareVersion> r = DecodeSoftwareVersion(payload, length);
  if (!r) return;
  ctx.main().controls.Panel_Version->setText(r->application.versionText());
  TForm_Product::Controls& c = Product(ctx);
  // The third number comes only with the long form; a short report shows two.
  const bool developer = ctx.main().context().developerMode;
  c.Panel_NavVersion->setText(developer && r->longForm ? r->fullVersionText()
                                                       : r->application.versionText());
  if (developer) ctx.windows.product->ShowHourRow();
  c.Panel_NavDate->setText(r->application.dateText());
  c.Panel_SigVersion->setText(r->signalProcessor.versionText());
  c.Panel_SigDate->setText(r->signalProcessor.dateText());
  if (r->longForm) c.Panel_NavHour->setText(r->buildTimeText());
}

void Report46Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<Health> r = DecodeHealth(payload, length);
  // While the timing packets are polled, report 0x8F-AC owns the status.
  if (!r || ctx.pollTimingPackets()) return;
  app::TForm_Main::Controls& c = ctx.main().controls;
  c.Panel_Status->setText(HealthStatusText(r->status));
  c.Panel_ModeAndStatus->setToolTip(QStringLiteral("Mode and Status: Packets 0x46, 8F-0B"));
}

void Report4BDecoder(const DecoderContext&, const std::uint8_t*, int) {}

void Report4EDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SetTimeReply> r = DecodeSetTimeReply(payload, length);
  if (!r) return;
  // The acceptance lamp of the Time From PC dialog.
  ctx.windows.initialTime->controls.Shape_TimeAccepted->setColor(r->accepted ? QColor::fromRgb(widgets::kLampLit) : QColor::fromRgb(0xFF, 0x00, 0x00));
}

void Report5F11Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SegmentStatus> r = DecodeSegmentStatus(payload, length);
  if (!r) return;
  tools::TForm_EEPROM& window = *ctx.windows.eeprom;
  for (int bit : tools::TForm_EEPROM::kShownBits) {
    window.segmentLamp(bit)->setColor(
        QColor::fromRgb(r->invalid(bit) ? widgets::kLampAlarm : widgets::kLampLit));
  }
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
  const std::optional<ManufacturingParameters> r = DecodeManufacturingParameters(payload, length);
  if (!r) return;
  TForm_Product::Controls& c = Product(ctx);
  c.Panel_ManSerNumPrefix->setText(Number(r->serialPrefix));
  c.Panel_ManSerNum->setText(Number(r->serialNumber));
  c.Panel_ManDate->setText(r->buildDateText());
  c.Panel_ManHour->setText(Number(r->hour));
  c.Panel_ManOscOffset->setText(QString::asprintf("%.2f", r->oscillatorOffset));
  c.Panel_ManIDNum->setText(Number(r->testCode));
}

void Report8F42Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ProductionParameters> r = DecodeProductionParameters(payload, length);
  if (!r) return;
  TForm_Product::Controls& c = Product(ctx);
  c.Panel_ProdOptsPrefix->setText(Number(r->optionsPrefix));
  c.Panel_ProdNumExt->setText(Number(r->numberExtension));
  c.Panel_ProdSerNumPrefix->setText(Number(r->caseSerialPrefix));
  c.Panel_ProdSerNum->setText(Number(r->caseSerialNumber));
  c.Panel_ProdNum->setText(Number(r->productionNumber));
  c.Panel_ProdPremOpt->setText(Number(r->premiumOptions));
  c.Panel_ProdIDNum->setText(Number(r->machineId));
  app::ApplyReceiverType(ctx.main(), r->receiverType());
}

}  // namespace halvix::reports
