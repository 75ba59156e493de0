#include "reports/ephem_stat_window.h"

#include <QComboBox>
#include <QEvent>
#include <QPushButton>

#include "commands/catalogue.h"
#include "reports/group_panel.h"
#include "reports/value_panel.h"
#include "reports/window_support.h"

namespace halvix::reports {

namespace {

constexpr int kClientWidth = 300, kClientHeight = 226;

}  // namespace

TForm_EphemStat::TForm_EphemStat(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  ui::SetUpWindow(this, "Form_EphemStat", QStringLiteral("Satellite Ephemeris Status"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Satellite Ephemeris Status: Packet 0x5B"));
  Controls& c = controls;

  auto* top = new GroupPanel(this);
  top->setObjectName(QStringLiteral("Panel_Top"));
  top->setGeometry(6, 6, kClientWidth - 12, 36);
  ui::Caption(top, QStringLiteral("SV"), QRect(10, 8, 20, 20), "Label_SV");
  c.ComboBox_SV = new QComboBox(top);
  c.ComboBox_SV->setObjectName(QStringLiteral("ComboBox_SV"));
  c.ComboBox_SV->setGeometry(34, 7, 60, 22);
  for (int n = 1; n <= 32; ++n) c.ComboBox_SV->addItem(QString::number(n));
  c.Button_Refresh = ui::Button(top, "Button_Refresh", QStringLiteral("&Refresh"),
                                QRect(kClientWidth - 12 - 83, 5, 75, 25));

  auto* values = new GroupPanel(this);
  values->setObjectName(QStringLiteral("Panel_Values"));
  values->setGeometry(6, 48, kClientWidth - 12, kClientHeight - 54);
  const struct {
    const char* caption;
    const char* name;
    ValuePanel** slot;
    const char* unit;
  } rows[] = {{"Time of Collection", "Panel_Time", &c.Panel_Time, "s"},
              {"Health", "Panel_Health", &c.Panel_Health, nullptr},
              {"IODE", "Panel_IODE", &c.Panel_IODE, nullptr},
              {"toe", "Panel_toe", &c.Panel_toe, "s"},
              {"Fit Interval Flag", "Panel_FitFlag", &c.Panel_FitFlag, nullptr},
              {"Accuracy (URA)", "Panel_Accuracy", &c.Panel_Accuracy, "m"}};
  int i = 0;
  for (const auto& r : rows) {
    const int y = 10 + i * 26;
    ui::Caption(values, QString::fromLatin1(r.caption), QRect(10, y, 104, 20),
                (QByteArray("Label_") + QByteArray(r.name).mid(6)).constData());
    *r.slot = ui::Panel(values, r.name, QRect(116, y, 120, 20));
    if (r.unit != nullptr) ui::Caption(values, QString::fromLatin1(r.unit), QRect(242, y, 30, 20));
    ++i;
  }

  connect(c.Button_Refresh, &QPushButton::clicked, this, &TForm_EphemStat::Button_RefreshClick);
  FormCreate();
  // Only the operator's choice queries; a report selecting its satellite does not.
  connect(c.ComboBox_SV, &QComboBox::activated, this, &TForm_EphemStat::ComboBox_SVChange);
}

std::array<ValuePanel*, 6> TForm_EphemStat::valuePanels() const {
  const Controls& c = controls;
  return {c.Panel_Time, c.Panel_Health, c.Panel_IODE, c.Panel_toe, c.Panel_FitFlag, c.Panel_Accuracy};
}

void TForm_EphemStat::FormCreate() { controls.ComboBox_SV->setCurrentIndex(0); }

void TForm_EphemStat::FormActivate() { refresh(); }

void TForm_EphemStat::ComboBox_SVChange() { refresh(); }

void TForm_EphemStat::Button_RefreshClick() { refresh(); }

void TForm_EphemStat::refresh() {
  for (ValuePanel* p : valuePanels()) p->clear();
  commands::EphemerisStatusRequest3B(link_,
                                     static_cast<std::uint8_t>(controls.ComboBox_SV->currentIndex() + 1));
}

bool TForm_EphemStat::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}

}  // namespace halvix::reports
