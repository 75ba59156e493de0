#include "reports/timing_decoders.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "app/main_window.h"
#include "platform/operator_prompts.h"
#include "app/windows.h"
#include "reports/add_timing_window.h"
#include "reports/decoder_context.h"
#include "reports/formatters.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "reports/timing_layouts.h"
#include "widgets/value_panel.h"

namespace halvix::reports {

namespace {

const QColor kGreen = QColor::fromRgb(widgets::kLampLit);
const QColor kYellow = QColor::fromRgb(widgets::kLampAlarm);
const QColor kGrey = QColor::fromRgb(widgets::kLampIdle);

// Colour of each 0x8F-AD flag lamp when its bit is set.
struct FlagColour {
  int bit;
  QRgb colour;
};
constexpr FlagColour kFlagColours[] = {
    {0, 0xFF00FF00},  // UTC available: green
    {4, 0xFFFFFF00},  // leap scheduled: yellow
    {5, 0xFFFF8000},  // leap pending: orange
    {6, 0xFFFF0000},  // GPS leap warning: red
    {7, 0xFF008080},  // leap in progress: teal
};

}  // namespace

void Report8FABDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PrimaryTiming> r = DecodePrimaryTiming(payload, length);
  if (!r || !ctx.pollTimingPackets()) return;
  app::TForm_Main::Controls& c = ctx.main().controls;
  c.Panel_TOW->setText(QString::number(r->timeOfWeek));
  c.Panel_WeekNum->setText(QString::number(r->week));
  c.Panel_UTCOffset->setText(QString::number(r->utcOffset));
  c.Panel_Time->setText(r->clockText());
  c.Panel_Date->setText(r->dateText());
  c.Label_TimeType->setText(r->timeScaleText());
  const double gpsSeconds = r->gpsSeconds();
  if (ctx.display.timeToPcPending) {
    ctx.display.timeToPcPending = false;
    if (ctx.setPcClockFromGps) ctx.setPcClockFromGps(gpsSeconds, static_cast<float>(r->utcOffset));
  }
  c.Panel_Timing->setToolTip(QStringLiteral("Time: Packet 8F-AB"));
}

void Report8FACDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SupplementalTiming> r = DecodeSupplementalTiming(payload, length);
  if (!r) return;
  if (ctx.chartTiming) ctx.chartTiming(*r);
  DisplayState& d = ctx.display;
  d.timingReportCountdown = kCountdownReload;
  d.timeReportCountdown = kCountdownReload;

  app::TForm_Main& main = ctx.main();
  app::TForm_Main::Controls& c = main.controls;
  c.Panel_SelfSurvey->setLiveValue(r->surveyText());
  c.Panel_PPSOffset->setLiveValue(FormatTimingOutput(r->ppsOffset));
  c.Panel_10MHz->setLiveValue(FormatTimingOutput(r->oscillatorOffset));
  c.Panel_Quantization->setLiveValue(FormatTimingOutput(r->quantizationError));
  c.Shape_PPS->setColor(r->ppsGenerated ? kGreen : kYellow);
  for (int bit : kMinorAlarmLampBits) {
    widgets::Lamp* lamp = c.Shape_Bit[static_cast<std::size_t>(bit)];
    if (lamp != nullptr) lamp->setColor(r->alarmSet(bit) ? kYellow : kGreen);
  }
  if (!ctx.pollTimingPackets()) return;

  const double latitude = r->latitudeDegrees();
  const double longitude = r->longitudeDegrees();
  ShowMainPosition(main, latitude, longitude, r->altitude, d.showDegMinSec);
  c.Panel_Mode->setText(SupplementalModeText(r->receiverMode));
  c.Panel_Status->setText(SupplementalStatusText(r->statusCode));
  c.Panel_ModeAndStatus->setToolTip(QStringLiteral("Mode and Status: Packet 8F-AC"));
  c.Panel_Position->setToolTip(QStringLiteral("Position: Packet 8F-AC"));

  if (r->satellitesUsable() && ctx.nextTrackingReset) ctx.nextTrackingReset();

  if (d.downloadPositionPending) {
    d.downloadPositionPending = false;
    DownloadPosition(ctx, latitude, longitude, r->altitude);
  }
}

void ShowMainPosition(app::TForm_Main& main, double latitudeDeg, double longitudeDeg,
                      double altitude, bool degMinSec) {
  app::TForm_Main::Controls& c = main.controls;
  c.Panel_Latitude->setText(FormatLatLon(latitudeDeg, degMinSec));
  c.Panel_Longitude->setText(FormatLatLon(longitudeDeg, degMinSec));
  c.Panel_Altitude->setText(QString::asprintf("%.1f", altitude));
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
  const std::optional<PrimaryUtcTime> r = DecodePrimaryUtcTime(payload, length);
  if (!r) return;
  TForm_AddTiming::Controls& c = ctx.windows.addTiming->controls;
  const QString time = r->timeText();
  if (r->eventCount != 0) {
    c.Panel_EventCounter->setText(QString::number(r->eventCount));
    c.Panel_EventTime->setText(time);
  }
  c.Panel_PrimaryUTCTime->setText(time);
  c.Panel_UTCDate->setText(r->dateText());
  c.Panel_Status->setText(UtcReceiverStatusText(r->receiverStatus));
  c.Label_ADTime->setText(r->timeScaleText());
  for (const FlagColour& f : kFlagColours) {
    widgets::Lamp* lamp = ctx.windows.addTiming->flagLamp(f.bit);
    if (lamp != nullptr) lamp->setColor(r->flagSet(f.bit) ? QColor::fromRgb(f.colour) : kGrey);
  }
}

}  // namespace halvix::reports
