// The main window as the report decoders see it: typed values in, its own
// panels and lamps out.
#include <QLabel>

#include "app/main_window.h"
#include "app/receiver_types.h"
#include "reports/formatters.h"
#include "reports/timing_layouts.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/value_panel.h"

namespace halvix::app {

namespace {

QColor Lit() { return QColor::fromRgb(widgets::kLampLit); }
QColor Alarm() { return QColor::fromRgb(widgets::kLampAlarm); }

// Rows outside the table are ignored: nothing indexes past it.
bool InTable(int row) { return row >= 0 && row < static_cast<int>(reports::kSvRows); }

}  // namespace

void TForm_Main::showTime(const reports::MainTime& time, const QString& hint) {
  Controls& c = controls_;
  c.Panel_TOW->setText(time.timeOfWeek);
  c.Panel_WeekNum->setText(time.week);
  c.Panel_UTCOffset->setText(time.utcOffset);
  c.Panel_Time->setText(time.time);
  c.Panel_Date->setText(time.date);
  c.Label_TimeType->setText(time.scale);
  c.Panel_Timing->setToolTip(hint);
}

void TForm_Main::showPosition(double latitudeDeg, double longitudeDeg, double altitude,
                              const QString& hint) {
  Controls& c = controls_;
  const bool degMinSec = context_.display.showDegMinSec;
  c.Panel_Latitude->setText(reports::FormatLatLon(latitudeDeg, degMinSec));
  c.Panel_Longitude->setText(reports::FormatLatLon(longitudeDeg, degMinSec));
  c.Panel_Altitude->setText(QString::asprintf("%.1f", altitude));
  c.Panel_Position->setToolTip(hint);
}

void TForm_Main::showTimingOutputs(const reports::MainTimingOutputs& outputs) {
  Controls& c = controls_;
  c.Panel_SelfSurvey->setLiveValue(outputs.survey);
  c.Panel_PPSOffset->setLiveValue(reports::FormatTimingOutput(outputs.ppsOffset));
  c.Panel_10MHz->setLiveValue(reports::FormatTimingOutput(outputs.oscillatorOffset));
  c.Panel_Quantization->setLiveValue(reports::FormatTimingOutput(outputs.quantizationError));
  c.Shape_PPS->setColor(outputs.ppsGenerated ? Lit() : Alarm());
}

void TForm_Main::showMinorAlarms(std::uint16_t alarms) {
  for (int bit : reports::kMinorAlarmLampBits) {
    Lamp* lamp = controls_.Shape_Bit[static_cast<std::size_t>(bit)];
    if (lamp != nullptr) lamp->setColor(((alarms >> bit) & 1u) != 0 ? Alarm() : Lit());
  }
}

void TForm_Main::showMode(const QString& mode) { controls_.Panel_Mode->setText(mode); }

void TForm_Main::showStatus(const QString& status, const QString& hint) {
  controls_.Panel_Status->setText(status);
  controls_.Panel_ModeAndStatus->setToolTip(hint);
}

void TForm_Main::showSatelliteRow(int row, const QString& satellite, const QString& signal,
                                  reports::SvColour colour) {
  if (!InTable(row)) return;
  ValuePanel* sv = controls_.Panel_SV[static_cast<std::size_t>(row)];
  sv->setText(satellite);
  controls_.Panel_AMU[static_cast<std::size_t>(row)]->setText(signal);
  switch (colour) {
    case reports::SvColour::Green: sv->setColor(QColor::fromRgb(widgets::kPanelGreen)); break;
    case reports::SvColour::Yellow: sv->setColor(QColor::fromRgb(widgets::kPanelYellow)); break;
    case reports::SvColour::Window: sv->setLive(); break;
  }
}

void TForm_Main::showIdleSatelliteRow(int row) {
  if (!InTable(row)) return;
  controls_.Panel_SV[static_cast<std::size_t>(row)]->setLiveValue(reports::kIdleSatelliteText);
  controls_.Panel_AMU[static_cast<std::size_t>(row)]->setText(reports::kIdleSignalText);
}

void TForm_Main::showFirmwareVersion(const QString& version) {
  controls_.Panel_Version->setText(version);
}

void TForm_Main::respaceMinorAlarms() {
  Controls& c = controls_;
  // The lamps between the antenna rows and the last lamp close up over the
  // span of the hidden antenna rows, top to bottom.
  const auto& alarms = reports::kMinorAlarms;
  const auto isAntenna = [](int bit) {
    return bit == reports::kAntennaOpenBit || bit == reports::kAntennaShortBit;
  };
  QWidget* first = c.Shape_Bit[static_cast<std::size_t>(alarms.front().bit)];
  QWidget* last = c.Shape_Bit[static_cast<std::size_t>(alarms.back().bit)];
  if (first == nullptr || last == nullptr) return;
  for (int bit : {reports::kAntennaOpenBit, reports::kAntennaShortBit}) {
    c.Shape_Bit[static_cast<std::size_t>(bit)]->hide();
    c.Label_MA[static_cast<std::size_t>(bit)]->hide();
  }
  const int top = first->y();
  const float step = static_cast<float>(top - last->y()) / 7.0f;
  int k = 0;
  for (std::size_t i = 0; i + 1 < alarms.size(); ++i) {
    const int bit = alarms[i].bit;
    if (isAntenna(bit)) continue;
    const int lampTop = top - static_cast<int>(step * static_cast<float>(k));
    QWidget* lamp = c.Shape_Bit[static_cast<std::size_t>(bit)];
    QWidget* label = c.Label_MA[static_cast<std::size_t>(bit)];
    lamp->move(lamp->x(), lampTop);
    label->move(label->x(), lampTop - 2);
    ++k;
  }
}

void TForm_Main::applyReceiverType(int type) { ApplyReceiverType(*this, type); }

}  // namespace halvix::app
