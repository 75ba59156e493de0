#include "reports/config_decoders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/windows.h"
#include "commands/auto_out_dialog.h"
#include "commands/brisel_port_a_out_dialog.h"
#include "commands/brisel_survey_dialog.h"
#include "commands/datum_dialog.h"
#include "widgets/dialog_support.h"
#include "commands/gps_dialog.h"
#include "commands/nmea_dialog.h"
#include "commands/packet_masks_dialog.h"
#include "commands/self_survey_dialog.h"
#include "commands/serial_dialog.h"
#include "commands/timing_out_dialog.h"
#include "reports/config_layouts.h"
#include "reports/decoder_context.h"
#include "reports/formatters.h"
#include "reports/utc_param_window.h"
#include "widgets/value_panel.h"

namespace halvix::reports {

namespace ui = widgets::dialog;

namespace {

QString Format(const char* format, double value) { return QString::asprintf(format, value); }
QString Format(const char* format, long value) { return QString::asprintf(format, value); }

// The dialogs reached by name: a control the window does not have is skipped.
template <typename W>
W* Child(const QObject* window, const char* name) {
  return window != nullptr ? window->findChild<W*>(QString::fromLatin1(name)) : nullptr;
}

void SetChecked(const QObject* window, const char* name, bool on) {
  if (auto* box = Child<QAbstractButton>(window, name)) box->setChecked(on);
}

void SetBox(QCheckBox* box, std::uint32_t bits, int bit) { box->setChecked(((bits >> bit) & 1u) != 0); }

}  // namespace

void Report4FDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<UtcParameters> r = DecodeUtcParameters(payload, length);
  if (!r) return;
  TForm_UTCParam::Controls& c = ctx.windows.utcParam->controls;
  c.Panel_A0->setText(Format("%8f", r->a0));
  c.Panel_A1->setText(Format("%8f", r->a1));
  c.Panel_AETls->setText(QString::number(r->deltaTls));
  c.Panel_Tot->setText(Format("%.2f", r->tot));
  c.Panel_WNt->setText(QString::number(r->wnT));
  c.Panel_WNlsf->setText(QString::number(r->wnLsf));
  c.Panel_DN->setText(QString::number(r->dn));
  c.Panel_AETlsf->setText(QString::number(r->deltaTlsf));
}

void Report55Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<IoOptions> r = DecodeIoOptions(payload, length);
  if (!r) return;
  const std::uint8_t bytes[4] = {r->position, r->velocity, r->timing, r->auxiliary};
  for (const auto& b : ctx.windows.packetMasks->optionBits()) SetBox(b.box, bytes[b.byte], b.bit);
}

void Report7BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<NmeaSettings> r = DecodeNmeaSettings(payload, length);
  if (!r) return;
  const QObject* w = ctx.windows.nmea.get();
  if (auto* e = Child<QLineEdit>(w, "Edit_Interval")) e->setText(QString::number(r->interval));
  static constexpr struct {
    int bit;
    const char* name;
  } kBoxes[] = {{0, "CheckBox_GGA"}, {1, "CheckBox_GLL"}, {2, "CheckBox_VTG"}, {3, "CheckBox_GSV"},
                {4, "CheckBox_GSA"}, {5, "CheckBox_ZDA"}, {8, "CheckBox_RMC"}};
  for (const auto& b : kBoxes) SetChecked(w, b.name, ((r->mask >> b.bit) & 1u) != 0);
  ctx.readBack.nmeaInterval = r->interval;
}

void ReportBBDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<ReceiverConfigurationReport> r = DecodeReceiverConfiguration(payload, length);
  if (!r) return;
  commands::TForm_GPS::Controls& c = ctx.windows.gps->controls;
  ui::SelectIndex(c.ComboBox_RMode, r->receiverMode);
  ui::SelectIndex(c.ComboBox_DGPSMode, r->dgpsModeIndex());
  ui::SelectIndex(c.ComboBox_DCode, r->dynamicsCode);
  c.Edit_EMask->setText(Format("%0.1f", r->elevationMask * kRadiansToDegrees));
  c.Edit_SMask->setText(Format("%0.1f", r->signalLevelMask));
  c.Edit_PMask->setText(Format("%0.1f", r->pdopMask));
  c.Edit_PSwitch->setText(Format("%0.1f", r->pdopSwitch));
  c.Edit_DGPSAge->setText(QString::number(r->dgpsAgeLimit));
}

void ReportBCDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SerialPortReport> r = DecodeSerialPortReport(payload, length);
  if (!r) return;
  commands::TForm_Serial::Controls& c = ctx.windows.serial->controls;
  const QString unknown = QStringLiteral("unknown");
  if (r->isPortA()) {
    ui::SelectIndex(c.ComboBox_PortABaudRate, r->baudCode);
    if (r->dataBitsCode == 2 || r->dataBitsCode == 3) {
      ui::SelectIndex(c.ComboBox_PortADataBits, r->dataBitsCode - 2);
    }
    ui::SelectIndex(c.ComboBox_PortAParity, r->parityCode);
    ui::SelectIndex(c.ComboBox_PortAStopBits, r->stopBitsCode);
    switch (r->inputProtocol) {
      case 8: ui::SelectIndex(c.ComboBox_PortAInput, 2); break;
      case 2: ui::SelectIndex(c.ComboBox_PortAInput, 1); break;
      case 0: ui::SelectIndex(c.ComboBox_PortAInput, 0); break;
      default: ui::ShowUnselected(c.ComboBox_PortAInput, unknown);
    }
    switch (r->outputProtocol) {
      case 6: ui::SelectIndex(c.ComboBox_PortAOutput, 3); break;  // past the list: no selection
      case 4: ui::SelectIndex(c.ComboBox_PortAOutput, 2); break;
      case 2: ui::SelectIndex(c.ComboBox_PortAOutput, 1); break;
      case 0: ui::SelectIndex(c.ComboBox_PortAOutput, 0); break;
      default: ui::ShowUnselected(c.ComboBox_PortAOutput, unknown);
    }
    ctx.readBack.portAParity = r->parityCode;
    return;
  }
  ui::SelectIndex(c.ComboBox_PortBBaudRate, r->baudCode - 6);
  if (r->dataBitsCode == 3) ui::SelectIndex(c.ComboBox_PortBDataBits, 0);
  ui::SelectIndex(c.ComboBox_PortBParity, r->parityCode);
  ui::SelectIndex(c.ComboBox_PortBStopBits, r->stopBitsCode);
  switch (r->inputProtocol) {
    case 8: ui::SelectIndex(c.ComboBox_PortBInput, 1); break;
    case 2: ui::SelectIndex(c.ComboBox_PortBInput, 0); break;
    default: ui::ShowUnselected(c.ComboBox_PortBInput, unknown);
  }
  switch (r->outputProtocol) {
    case 4: ui::SelectIndex(c.ComboBox_PortBOutput, 1); break;
    case 2: ui::SelectIndex(c.ComboBox_PortBOutput, 0); break;
    default: ui::ShowUnselected(c.ComboBox_PortBOutput, unknown);
  }
  ctx.readBack.portBParity = r->parityCode;
}

void Report8F15Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<DatumReport> r = DecodeDatumReport(payload, length);
  if (!r) return;
  if (auto* list = Child<QComboBox>(ctx.windows.datum.get(), "ComboBox_Datum")) {
    ui::SelectIndex(list, r->datumIndex);
    // Typing then replaces the whole name.
    if (QLineEdit* e = list->lineEdit()) e->setSelection(0, static_cast<int>(e->text().size()));
  }
  ctx.readBack.datumIndex = static_cast<std::int16_t>(r->datumIndex);
}

void Report8F4ADecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PpsCharacteristicsReport> r = DecodePpsCharacteristics(payload, length);
  if (!r) return;
  commands::TForm_TimingOut::Controls& c = ctx.windows.timingOut->controls;
  ui::SelectIndex(c.ComboBox_Switch, r->driverSwitch);
  ui::SelectIndex(c.ComboBox_TimeBase, r->timeBase);
  ui::SelectIndex(c.ComboBox_Polarity, r->polarity);
  c.Edit_Offset->setText(Format("%.3e", r->ppsOffset));
  c.Edit_Bias->setText(Format("%.2f", r->biasUncertainty));
}

void Report8F4BDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SurveyLimitReport> r = DecodeSurveyLimit(payload, length);
  if (!r) return;
  if (auto* e = Child<QLineEdit>(ctx.windows.briselSurvey.get(), "Edit_Limit")) {
    // Shown signed, as the receiver's own tools print it.
    e->setText(QString::number(static_cast<std::int32_t>(r->limit)));
  }
}

void Report8F4DDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<AutomaticOutputMaskReport> r = DecodeAutomaticOutputMask(payload, length);
  if (!r) return;
  const commands::TForm_AutoOut& w = *ctx.windows.autoOut;
  for (int bit : commands::TForm_AutoOut::kBits) SetBox(w.bitBox(bit), r->mask, bit);
}

void Report8F4EDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PpsOutputReport> r = DecodePpsOutput(payload, length);
  if (!r) return;
  commands::TForm_TimingOut::Controls& c = ctx.windows.timingOut->controls;
  QRadioButton* which = r->mode == 2   ? c.RadioButton_Always
                        : r->mode == 3 ? c.RadioButton_1SV
                        : r->mode == 4 ? c.RadioButton_3SV
                                       : nullptr;
  ui::CheckOnly({c.RadioButton_Always, c.RadioButton_1SV, c.RadioButton_3SV}, which);
  ctx.readBack.ppsOutputMode = r->mode;
}

void Report8F4FDecoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<PpsWidthReport> r = DecodePpsWidth(payload, length);
  if (!r) return;
  ctx.windows.timingOut->controls.Edit_Width->setText(Format("%.3e", r->width));
}

void Report8FA5Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<BroadcastMaskReport> r = DecodeBroadcastMask(payload, length);
  if (!r) return;
  const std::uint8_t masks[3] = {0, r->mask1, r->mask2};
  for (const auto& b : ctx.windows.packetMasks->maskBits()) SetBox(b.box, masks[b.byte], b.bit);

  // Then the Port A Output dialog's two groups, each from a pair of bits.
  const QObject* w = ctx.windows.briselPortAOut.get();
  const auto group = [w](int bits, const char* both, const char* first, const char* second,
                         const char* neither) {
    const char* name = bits == 3 ? both : bits == 1 ? first : bits == 2 ? second : neither;
    ui::CheckOnly({Child<QRadioButton>(w, both), Child<QRadioButton>(w, first),
                   Child<QRadioButton>(w, second), Child<QRadioButton>(w, neither)},
                  Child<QRadioButton>(w, name));
  };
  group(r->mask1 & 3, "RadioButton_Both0B", "RadioButton_PPS0B", "RadioButton_Event0B",
        "RadioButton_Request0B");
  group((r->mask1 >> 4) & 3, "RadioButton_BothAD", "RadioButton_PPSAD", "RadioButton_EventAD",
        "RadioButton_RequestAD");
}

void Report8FA9Decoder(const DecoderContext& ctx, const std::uint8_t* payload, int length) {
  const std::optional<SelfSurveyReport> r = DecodeSelfSurvey(payload, length);
  if (!r) return;
  const QObject* w = ctx.windows.selfSurvey.get();
  SetChecked(w, "CheckBox_EnableSurvey", r->enabled);
  SetChecked(w, "CheckBox_Flag", r->savePosition);
  if (auto* e = Child<QLineEdit>(w, "Edit_Limit")) {
    e->setText(Format("%ld", static_cast<long>(r->length)));
  }
  ctx.readBack.surveyLength = r->length;
}

}  // namespace halvix::reports
