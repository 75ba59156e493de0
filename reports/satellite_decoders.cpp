#include "reports/satellite_decoders.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "app/main_window.h"
#include "app/windows.h"
#include "reports/decoder_context.h"
#include "reports/ephem_stat_window.h"
#include "reports/raw_meas_window.h"
#include "reports/satellite_layouts.h"
#include "reports/track_window.h"
#include "widgets/value_panel.h"
#include "tools/alm_health_window.h"
#include "tools/almanac_data_window.h"

namespace halvix::reports {

static_assert(kSatelliteRows == kSvRows, "one countdown and one selection entry per table row");

void SatelliteColour(const DecoderContext& ctx, int satellite, widgets::ValuePanel* panel) {
  if (panel == nullptr) return;
  switch (reports::SatelliteColour(satellite, ctx.display.svSelection)) {
    case SvColour::Green: panel->setColor(QColor::fromRgb(widgets::kPanelGreen)); break;
    case SvColour::Yellow: panel->setColor(QColor::fromRgb(widgets::kPanelYellow)); break;
    case SvColour::Window: panel->setLive(); break;
  }
}

void Report5CDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  // The layout also turns away channels 12 and up: the table has twelve rows.
  const std::optional<TrackingStatus> r = DecodeTrackingStatus(payload, length);
  if (!r || r->channel < 0 || r->channel >= kSvRows) return;
  if (ctx.chartTracking) ctx.chartTracking(*r);
  const auto index = static_cast<std::size_t>(r->channel);
  ctx.display.svRowCountdown[index] = kCountdownReload;

  ctx.windows.track->controls.Panel_TS[index]->setText(r->rowText());
  app::TForm_Main::Controls& c = ctx.main().controls;
  c.Panel_SV[index]->setText(r->satelliteText());
  c.Panel_AMU[index]->setText(r->signalText());
  SatelliteColour(ctx, r->satellite, c.Panel_SV[index]);
}

void Report6DDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SatelliteSelection> r = DecodeSatelliteSelection(payload, length);
  if (!r) return;
  if (ctx.chartSelection) ctx.chartSelection(*r);
  TForm_Track::Controls& t = ctx.windows.track->controls;
  t.Panel_PDOP->setText(FormatDop(r->pdop));
  t.Panel_HDOP->setText(FormatDop(r->hdop));
  t.Panel_VDOP->setText(FormatDop(r->vdop));
  t.Panel_TDOP->setText(FormatDop(r->tdop));
  // Only the first twelve take part in colouring; the list shows every byte.
  // The table rows pick the new selection up at their next report 0x5C.
  ctx.display.svSelection = r->table();
  t.Panel_SVSel->setText(r->listText());
}

void AgeSatelliteRows(const DecoderContext& ctx) {
  app::TForm_Main::Controls& c = ctx.main().controls;
  TForm_Track::Controls& t = ctx.windows.track->controls;
  for (std::size_t i = 0; i < ctx.display.svRowCountdown.size(); ++i) {
    int& countdown = ctx.display.svRowCountdown[i];
    if (countdown <= 0) continue;
    if (--countdown != 0) continue;
    t.Panel_TS[i]->clear();
    c.Panel_SV[i]->setLiveValue(kIdleSatelliteText);
    c.Panel_AMU[i]->setText(kIdleSignalText);
  }
}

void Report5ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<RawMeasurement> r = DecodeRawMeasurement(payload, length);
  if (!r) return;
  TForm_RawMeas& w = *ctx.windows.rawMeas;
  if (r->satellite != w.selectedSatellite()) return;
  w.controls.Panel_SampleLen->setText(r->sampleLengthText());
  w.controls.Panel_SignalLevel->setText(r->signalLevelText());
  w.controls.Panel_CodePhase->setText(r->codePhaseText());
  w.controls.Panel_Doppler->setText(r->dopplerText());
  w.controls.Panel_Time->setText(r->timeText());
}

void Report5BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<EphemerisStatus> r = DecodeEphemerisStatus(payload, length);
  if (!r) return;
  TForm_EphemStat::Controls& c = ctx.windows.ephemStat->controls;
  {
    // Showing the reported satellite is not the operator's choice: no query.
    const QSignalBlocker quiet(c.ComboBox_SV);
    c.ComboBox_SV->setCurrentIndex(r->comboIndex().value_or(-1));
  }
  c.Panel_Time->setText(r->collectionTimeText());
  c.Panel_Health->setText(r->healthText());
  c.Panel_IODE->setText(r->iodeText());
  c.Panel_toe->setText(r->toeText());
  c.Panel_FitFlag->setText(r->fitFlagText());
  c.Panel_Accuracy->setText(r->accuracyText());
}

void Report40Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<AlmanacData> r = DecodeAlmanacData(payload, length);
  if (!r) return;
  tools::TForm_AlmanacData& w = *ctx.windows.almanacData;
  if (r->satellite != w.selectedSatellite()) return;
  const std::array<QString, 10> texts = r->panelTexts();
  const std::array<widgets::ValuePanel*, 10> panels = w.valuePanels();
  for (std::size_t i = 0; i < panels.size(); ++i) panels[i]->setText(texts[i]);
}

void Report49Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<AlmanacHealth> r = DecodeAlmanacHealth(payload, length);
  if (!r) return;
  auto& panels = ctx.windows.almHealth->controls.Panel_SV;
  for (std::size_t i = 0; i < panels.size(); ++i) {
    panels[i]->setText(r->healthText(static_cast<int>(i) + 1));
  }
}

}  // namespace halvix::reports
