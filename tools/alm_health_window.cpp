#include "tools/alm_health_window.h"

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

constexpr int kColumns = 4, kRows = 8;
constexpr int kColumnPitch = 96, kRowPitch = 24;
constexpr int kClientWidth = kColumns * kColumnPitch + 20;
constexpr int kClientHeight = kRows * kRowPitch + 92;

}  // namespace

TForm_AlmHealth::TForm_AlmHealth(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  ui::SetUpWindow(this, "Form_AlmHealth", QStringLiteral("Almanac Health Page"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Almanac Health: Packet 0x49"));
  Controls& c = controls_;

  auto* grid = new widgets::GroupPanel(this);
  grid->setObjectName(QStringLiteral("Panel_Health"));
  grid->setGeometry(6, 6, kClientWidth - 12, kRows * kRowPitch + 14);
  // Four columns of eight, numbered down each column.
  for (int n = 1; n <= kSatellites; ++n) {
    const int column = (n - 1) / kRows, row = (n - 1) % kRows;
    const int left = 8 + column * kColumnPitch, top = 8 + row * kRowPitch;
    ui::Caption(grid, QStringLiteral("SV %1").arg(n), QRect(left, top, 40, 20),
                ui::Numbered("Label_SV", n).constData());
    widgets::ValuePanel* p = ui::Panel(grid, ui::Numbered("Panel_SV", n).constData(),
                              QRect(left + 42, top, 40, 20));
    c.Panel_SV[static_cast<std::size_t>(n - 1)] = p;
  }

  const int noteTop = grid->geometry().bottom() + 8;
  ui::Caption(this, QStringLiteral("Note:  A value \"0\" indicates that the satellite is healthy."),
              QRect(10, noteTop, kClientWidth - 20, 18), "Label_Note");
  c.Button_Query = ui::Button(this, "Button_Query", QStringLiteral("&Refresh"),
                              QRect(kClientWidth - 81, kClientHeight - 25 - 8, 75, 25));
  connect(c.Button_Query, &QPushButton::clicked, this, &TForm_AlmHealth::Button_QueryClick);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

void TForm_AlmHealth::FormActivate() { refresh(); }

void TForm_AlmHealth::Button_QueryClick() { refresh(); }

void TForm_AlmHealth::refresh() {
  for (widgets::ValuePanel* p : controls_.Panel_SV) p->clear();
  commands::AlmanacHealthRequest29(link_);
}

void TForm_AlmHealth::showHealth(const reports::AlmanacHealth& r) {
  for (std::size_t i = 0; i < controls_.Panel_SV.size(); ++i) {
    controls_.Panel_SV[i]->setText(r.healthText(static_cast<int>(i) + 1));
  }
}

}  // namespace halvix::tools
