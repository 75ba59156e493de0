#include "reports/ephem_stat_window.h"

#include <QComboBox>
#include <QPushButton>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "widgets/group_panel.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"
#include "reports/satellite_layouts.h"

namespace halvix::reports {

namespace {

constexpr int kClientWidth = 300, kClientHeight = 226;

}  // namespace

TForm_EphemStat::TForm_EphemStat(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  widgets::ui::SetUpWindow(this, "Form_EphemStat", QStringLiteral("Satellite Ephemeris Status"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Satellite Ephemeris Status: Packet 0x5B"));
  Controls& c = controls_;

  const widgets::ui::SatellitePicker picker = widgets::ui::SatellitePickerBar(this, kClientWidth, "Button_Refresh");
  c.ComboBox_SV = picker.comboBox;
  c.Button_Refresh = picker.button;

  auto* values = new widgets::GroupPanel(this);
  values->setObjectName(QStringLiteral("Panel_Values"));
  values->setGeometry(6, 48, kClientWidth - 12, kClientHeight - 54);
  widgets::ui::ValueRows(values,
                {{"Time of Collection", "Panel_Time", &c.Panel_Time, "s"},
                 {"Health", "Panel_Health", &c.Panel_Health, nullptr},
                 {"IODE", "Panel_IODE", &c.Panel_IODE, nullptr},
                 {"toe", "Panel_toe", &c.Panel_toe, "s"},
                 {"Fit Interval Flag", "Panel_FitFlag", &c.Panel_FitFlag, nullptr},
                 {"Accuracy (URA)", "Panel_Accuracy", &c.Panel_Accuracy, "m"}},
                widgets::ui::RowColumns{10, 26, 10, 104, 116, 120, 242, 30});

  connect(c.Button_Refresh, &QPushButton::clicked, this, &TForm_EphemStat::Button_RefreshClick);
  FormCreate();
  // Only the operator's choice queries; a report selecting its satellite does not.
  connect(c.ComboBox_SV, &QComboBox::activated, this, &TForm_EphemStat::ComboBox_SVChange);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::array<widgets::ValuePanel*, 6> TForm_EphemStat::valuePanels() const {
  const Controls& c = controls_;
  return {c.Panel_Time, c.Panel_Health, c.Panel_IODE, c.Panel_toe, c.Panel_FitFlag, c.Panel_Accuracy};
}

void TForm_EphemStat::FormCreate() { controls_.ComboBox_SV->setCurrentIndex(0); }

void TForm_EphemStat::FormActivate() { refresh(); }

void TForm_EphemStat::ComboBox_SVChange() { refresh(); }

void TForm_EphemStat::Button_RefreshClick() { refresh(); }

void TForm_EphemStat::refresh() {
  widgets::ui::ClearPanels(valuePanels());
  commands::EphemerisStatusRequest3B(link_,
                                     static_cast<std::uint8_t>(controls_.ComboBox_SV->currentIndex() + 1));
}

void TForm_EphemStat::showEphemerisStatus(const EphemerisStatus& r) {
  {
    // Showing the reported satellite is not the operator's choice: no query.
    const QSignalBlocker quiet(controls_.ComboBox_SV);
    controls_.ComboBox_SV->setCurrentIndex(r.comboIndex().value_or(-1));
  }
  const std::array<QString, 6> texts = {r.collectionTimeText(), r.healthText(), r.iodeText(),
                                        r.toeText(), r.fitFlagText(), r.accuracyText()};
  widgets::ui::ShowTexts(valuePanels(), texts);
}

}  // namespace halvix::reports
