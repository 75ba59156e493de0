#include "reports/timing_decoders.h"

#include <QFile>
#include <QFileInfo>

#include "platform/operator_prompts.h"
#include "reports/add_timing_window.h"
#include "reports/decoder_context.h"
#include "reports/formatters.h"
#include "reports/main_view.h"
#include "reports/timing_layouts.h"

namespace halvix::reports {

void Report8FABDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PrimaryTiming> r = DecodePrimaryTiming(payload, length);
  if (!r || !ctx.pollTimingPackets()) return;
  ctx.main().showTime({QString::number(r->timeOfWeek), QString::number(r->week),
                       QString::number(r->utcOffset), r->clockText(), r->dateText(),
                       r->timeScaleText()},
                      QStringLiteral("Time: Packet 8F-AB"));
  if (ctx.display.timeToPcPending) {
    ctx.display.timeToPcPending = false;
    if (ctx.setPcClockFromGps) ctx.setPcClockFromGps(r->gpsSeconds(), static_cast<float>(r->utcOffset));
  }
}

void Report8FACDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SupplementalTiming> r = DecodeSupplementalTiming(payload, length);
  if (!r) return;
  if (ctx.chartTiming) ctx.chartTiming(*r);
  DisplayState& d = ctx.display;
  d.timingReportCountdown = kCountdownReload;
  d.timeReportCountdown = kCountdownReload;

  MainView& main = ctx.main();
  main.showTimingOutputs({r->surveyText(), r->ppsOffset, r->oscillatorOffset, r->quantizationError,
                          r->ppsGenerated});
  main.showMinorAlarms(r->minorAlarms);
  if (!ctx.pollTimingPackets()) return;

  const double latitude = r->latitudeDegrees();
  const double longitude = r->longitudeDegrees();
  main.showPosition(latitude, longitude, r->altitude, QStringLiteral("Position: Packet 8F-AC"));
  main.showMode(SupplementalModeText(r->receiverMode));
  main.showStatus(SupplementalStatusText(r->statusCode),
                  QStringLiteral("Mode and Status: Packet 8F-AC"));

  if (r->satellitesUsable() && ctx.nextTrackingReset) ctx.nextTrackingReset();

  if (d.downloadPositionPending) {
    d.downloadPositionPending = false;
    DownloadPosition(ctx, latitude, longitude, r->altitude);
  }
}

void DownloadPosition(const DecoderContext& ctx, double latitudeDeg, double longitudeDeg,
                      double altitude) {
  // A save dialog: the file is written, and may not exist yet.
  QString path = ctx.prompts.saveFileName(QString(), kPositionFileFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + kPositionFileExtension;

  const auto fail = [&ctx] {
    ctx.prompts.message(QStringLiteral("Error"), QStringLiteral("Unable to open data file."),
                        platform::PromptButtons::Ok, platform::PromptIcon::Warning);
  };
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    fail();
    return;
  }
  const QByteArray line = FormatPositionFileLine(latitudeDeg, longitudeDeg, altitude).toLatin1();
  // A file that could not be written is not a successful download.
  const bool written = file.write(line) == line.size() && file.flush();
  file.close();
  if (!written) {
    fail();
    return;
  }
  ctx.prompts.message(QStringLiteral("Success"),
                      FormatPositionDownloadMessage(latitudeDeg, longitudeDeg, altitude),
                      platform::PromptButtons::Ok, platform::PromptIcon::None);
}

void Report8FADDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  ShowIn(ctx.windows.addTiming, &TForm_AddTiming::showPrimaryUtcTime,
         DecodePrimaryUtcTime(payload, length));
}

}  // namespace halvix::reports
