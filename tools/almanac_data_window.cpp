#include "tools/almanac_data_window.h"

#include <QComboBox>
#include <QEvent>
#include <QPushButton>

#include "commands/catalogue.h"
#include "reports/group_panel.h"
#include "reports/value_panel.h"
#include "reports/window_support.h"

namespace halvix::tools {

namespace ui = reports::ui;
using reports::GroupPanel;
using reports::ValuePanel;

namespace {

constexpr int kClientWidth = 300, kClientHeight = 326;

}  // namespace

TForm_AlmanacData::TForm_AlmanacData(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  ui::SetUpWindow(this, "Form_AlmanacData", QStringLiteral("Almanac Data"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Almanac Data: Packet 0x40"));
  Controls& c = controls;

  auto* top = new GroupPanel(this);
  top->setObjectName(QStringLiteral("Panel_Top"));
  top->setGeometry(6, 6, kClientWidth - 12, 36);
  ui::Caption(top, QStringLiteral("SV"), QRect(10, 8, 20, 20), "Label_SV");
  c.ComboBox_SV = new QComboBox(top);
  c.ComboBox_SV->setObjectName(QStringLiteral("ComboBox_SV"));
  c.ComboBox_SV->setGeometry(34, 7, 60, 22);
  for (int n = 1; n <= 32; ++n) c.ComboBox_SV->addItem(QString::number(n));
  c.Button_Query = ui::Button(top, "Button_Query", QStringLiteral("&Refresh"),
                              QRect(kClientWidth - 12 - 83, 5, 75, 25));

  auto* values = new GroupPanel(this);
  values->setObjectName(QStringLiteral("Panel_Values"));
  values->setGeometry(6, 48, kClientWidth - 12, kClientHeight - 54);
  const struct {
    const char* caption;
    const char* name;
    ValuePanel** slot;
    const char* unit;
  } rows[] = {{"T_zc", "Panel_T_zc", &c.Panel_T_zc, "s"},
              {"week num", "Panel_WeekNum", &c.Panel_WeekNum, ""},
              {"eccentricity", "Panel_Eccentricity", &c.Panel_Eccentricity, ""},
              {"T_oa", "Panel_T_oa", &c.Panel_T_oa, "s"},
              {"i_o", "Panel_i_o", &c.Panel_i_o, "rad"},
              {"OMEGA_dot", "Panel_OMEGA_dot", &c.Panel_OMEGA_dot, "rad/s"},
              {"sq. root A", "Panel_SqRootA", &c.Panel_SqRootA, "m\u00BD"},
              {"OMEGA 0", "Panel_OMEGAo", &c.Panel_OMEGAo, "rad"},
              {"omega", "Panel_Omega", &c.Panel_Omega, "rad"},
              {"M o", "Panel_Mo", &c.Panel_Mo, "rad"}};
  int i = 0;
  for (const auto& r : rows) {
    const int y = 8 + i * 26;
    ui::Caption(values, QString::fromLatin1(r.caption), QRect(10, y, 84, 20),
                (QByteArray("Label_") + QByteArray(r.name).mid(6)).constData());
    *r.slot = ui::Panel(values, r.name, QRect(96, y, 130, 20));
    ui::Caption(values, QString::fromUtf8(r.unit), QRect(232, y, 44, 20));
    ++i;
  }

  connect(c.Button_Query, &QPushButton::clicked, this, &TForm_AlmanacData::Button_QueryClick);
  FormCreate();
  connect(c.ComboBox_SV, &QComboBox::activated, this, &TForm_AlmanacData::ComboBox_SVChange);
}

std::array<ValuePanel*, 10> TForm_AlmanacData::valuePanels() const {
  const Controls& c = controls;
  return {c.Panel_T_zc, c.Panel_WeekNum, c.Panel_Eccentricity, c.Panel_T_oa,  c.Panel_i_o,
          c.Panel_OMEGA_dot, c.Panel_SqRootA, c.Panel_OMEGAo, c.Panel_Omega, c.Panel_Mo};
}

int TForm_AlmanacData::selectedSatellite() const { return controls.ComboBox_SV->currentIndex() + 1; }

void TForm_AlmanacData::FormCreate() { controls.ComboBox_SV->setCurrentIndex(0); }

void TForm_AlmanacData::FormActivate() { refresh(); }

void TForm_AlmanacData::ComboBox_SVChange() { refresh(); }

void TForm_AlmanacData::Button_QueryClick() { refresh(); }

void TForm_AlmanacData::refresh() {
  for (ValuePanel* p : valuePanels()) p->clear();
  commands::AlmanacRequest20(link_, static_cast<std::uint8_t>(selectedSatellite()));
}

bool TForm_AlmanacData::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}

}  // namespace halvix::tools
