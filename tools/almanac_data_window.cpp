#include "tools/almanac_data_window.h"

#include <QComboBox>
#include <QPushButton>

#include "commands/catalogue.h"
#include "widgets/dialog_support.h"
#include "widgets/group_panel.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"
#include "reports/satellite_layouts.h"

namespace halvix::tools {

namespace ui = widgets::ui;

namespace {

constexpr int kClientWidth = 300, kClientHeight = 326;

}  // namespace

TForm_AlmanacData::TForm_AlmanacData(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  ui::SetUpWindow(this, "Form_AlmanacData", QStringLiteral("Almanac Data"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Almanac Data: Packet 0x40"));
  Controls& c = controls_;

  const ui::SatellitePicker picker = ui::SatellitePickerBar(this, kClientWidth, "Button_Query");
  c.ComboBox_SV = picker.comboBox;
  c.Button_Query = picker.button;

  auto* values = new widgets::GroupPanel(this);
  values->setObjectName(QStringLiteral("Panel_Values"));
  values->setGeometry(6, 48, kClientWidth - 12, kClientHeight - 54);
  ui::ValueRows(values,
                {{"T_zc", "Panel_T_zc", &c.Panel_T_zc, "s"},
                 {"week num", "Panel_WeekNum", &c.Panel_WeekNum, ""},
                 {"eccentricity", "Panel_Eccentricity", &c.Panel_Eccentricity, ""},
                 {"T_oa", "Panel_T_oa", &c.Panel_T_oa, "s"},
                 {"i_o", "Panel_i_o", &c.Panel_i_o, "rad"},
                 {"OMEGA_dot", "Panel_OMEGA_dot", &c.Panel_OMEGA_dot, "rad/s"},
                 {"sq. root A", "Panel_SqRootA", &c.Panel_SqRootA, "m\u00BD"},
                 {"OMEGA 0", "Panel_OMEGAo", &c.Panel_OMEGAo, "rad"},
                 {"omega", "Panel_Omega", &c.Panel_Omega, "rad"},
                 {"M o", "Panel_Mo", &c.Panel_Mo, "rad"}},
                ui::RowColumns{8, 26, 10, 84, 96, 130, 232, 44});

  connect(c.Button_Query, &QPushButton::clicked, this, &TForm_AlmanacData::Button_QueryClick);
  FormCreate();
  connect(c.ComboBox_SV, &QComboBox::activated, this, &TForm_AlmanacData::ComboBox_SVChange);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::array<widgets::ValuePanel*, 10> TForm_AlmanacData::valuePanels() const {
  const Controls& c = controls_;
  return {c.Panel_T_zc, c.Panel_WeekNum, c.Panel_Eccentricity, c.Panel_T_oa,  c.Panel_i_o,
          c.Panel_OMEGA_dot, c.Panel_SqRootA, c.Panel_OMEGAo, c.Panel_Omega, c.Panel_Mo};
}

int TForm_AlmanacData::selectedSatellite() const { return controls_.ComboBox_SV->currentIndex() + 1; }

void TForm_AlmanacData::FormCreate() { controls_.ComboBox_SV->setCurrentIndex(0); }

void TForm_AlmanacData::FormActivate() { refresh(); }

void TForm_AlmanacData::ComboBox_SVChange() { refresh(); }

void TForm_AlmanacData::Button_QueryClick() { refresh(); }

void TForm_AlmanacData::refresh() {
  widgets::ui::ClearPanels(valuePanels());
  commands::AlmanacRequest20(link_, static_cast<std::uint8_t>(selectedSatellite()));
}

void TForm_AlmanacData::showAlmanac(const reports::AlmanacData& r) {
  if (r.satellite != selectedSatellite()) return;
  const std::array<QString, 10> texts = r.panelTexts();
  widgets::ui::ShowTexts(valuePanels(), texts);
}

}  // namespace halvix::tools
