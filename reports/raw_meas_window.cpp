#include "reports/raw_meas_window.h"

#include <QPushButton>
#include <QTabBar>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "widgets/group_panel.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"
#include "reports/satellite_layouts.h"

namespace halvix::reports {

namespace {

constexpr int kClientWidth = 360, kClientHeight = 222;
constexpr int kSatellites = 32;

}  // namespace

TForm_RawMeas::TForm_RawMeas(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  widgets::ui::SetUpWindow(this, "Form_RawMeas", QStringLiteral("Raw Measurement Data"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Raw Measurement Data: Packet 0x5A"));
  Controls& c = controls_;

  c.TabControl_SV = new QTabBar(this);
  c.TabControl_SV->setObjectName(QStringLiteral("TabControl_SV"));
  c.TabControl_SV->setGeometry(6, 6, kClientWidth - 12, 24);
  c.TabControl_SV->setUsesScrollButtons(true);
  c.TabControl_SV->setExpanding(false);
  c.TabControl_SV->setDrawBase(true);
  for (int n = 1; n <= kSatellites; ++n) c.TabControl_SV->addTab(QString::number(n));

  auto* page = new widgets::GroupPanel(this);
  page->setObjectName(QStringLiteral("Panel_Page"));
  page->setGeometry(6, 30, kClientWidth - 12, 146);
  widgets::ui::ValueRows(page,
                {{"Sample Length", "Panel_SampleLen", &c.Panel_SampleLen, "msec"},
                 {"Signal Level", "Panel_SignalLevel", &c.Panel_SignalLevel, "AMU"},
                 {"Code Phase", "Panel_CodePhase", &c.Panel_CodePhase, "1/16 chip"},
                 {"Doppler", "Panel_Doppler", &c.Panel_Doppler, "Hertz"},
                 {"Time of Measurement", "Panel_Time", &c.Panel_Time, "sec"}},
                widgets::ui::RowColumns{12, 26, 10, 112, 124, 140, 270, 70});

  c.Button_Refresh = widgets::ui::Button(this, "Button_Refresh", QStringLiteral("&Refresh"),
                                QRect(kClientWidth - 81, kClientHeight - 25 - 8, 75, 25));
  connect(c.Button_Refresh, &QPushButton::clicked, this, &TForm_RawMeas::Button_RefreshClick);
  FormCreate();
  connect(c.TabControl_SV, &QTabBar::currentChanged, this, &TForm_RawMeas::TabControl_SVChange);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

int TForm_RawMeas::selectedSatellite() const { return controls_.TabControl_SV->currentIndex() + 1; }

std::array<widgets::ValuePanel*, 5> TForm_RawMeas::valuePanels() const {
  const Controls& c = controls_;
  return {c.Panel_SampleLen, c.Panel_SignalLevel, c.Panel_CodePhase, c.Panel_Doppler, c.Panel_Time};
}

void TForm_RawMeas::FormCreate() { controls_.TabControl_SV->setCurrentIndex(0); }

void TForm_RawMeas::FormActivate() { refresh(); }

void TForm_RawMeas::TabControl_SVChange() { refresh(); }

void TForm_RawMeas::Button_RefreshClick() { refresh(); }

void TForm_RawMeas::refresh() {
  widgets::ui::ClearPanels(valuePanels());
  commands::RawMeasurementRequest3A(link_, static_cast<std::uint8_t>(selectedSatellite()));
}

void TForm_RawMeas::showRawMeasurement(const RawMeasurement& r) {
  if (r.satellite != selectedSatellite()) return;
  const std::array<QString, 5> texts = {r.sampleLengthText(), r.signalLevelText(), r.codePhaseText(),
                                        r.dopplerText(), r.timeText()};
  widgets::ui::ShowTexts(valuePanels(), texts);
}

}  // namespace halvix::reports
