#include "reports/product_window.h"

#include <QPushButton>

#include "commands/catalogue.h"
#include "link/clock.h"
#include "link/serial_link.h"
#include "widgets/dialog_support.h"
#include "widgets/group_panel.h"
#include "widgets/value_panel.h"
#include "widgets/window_support.h"
#include "reports/version_layouts.h"

namespace halvix::reports {

namespace {

constexpr int kMargin = 6;
constexpr int kClientWidth = 452;
constexpr int kRowTop = 26, kRowPitch = 24, kRowHeight = 20;
constexpr int kSoftwareHeight = kRowTop + 2 * kRowPitch + 4;
constexpr int kColumnWidth = (kClientWidth - 3 * kMargin) / 2;
constexpr int kParameterRows = 7;
constexpr int kParametersHeight = kRowTop + kParameterRows * kRowPitch + 4;
constexpr int kParametersTop = kMargin + kSoftwareHeight + kMargin;
constexpr int kButtonTop = kParametersTop + kParametersHeight + 8;
constexpr int kClientHeight = kButtonTop + 25 + 8;

const widgets::ui::RowColumns kParameterColumns{kRowTop, kRowPitch, 8, 112, 122, kColumnWidth - 130, 0, 0};

}  // namespace

TForm_Product::TForm_Product(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  widgets::ui::SetUpWindow(this, "Form_Product", QStringLiteral("Product Info"),
                  QSize(kClientWidth, kClientHeight));
  setToolTip(QStringLiteral("Software versions: Packets 0x1F, 0x45"));
  Controls& c = controls_;

  // Software versions: two rows, each version with its date; the build hour
  // sits beside the application's date.
  c.Panel_SoftwareVersion = widgets::ui::Group(
      this, "Panel_SoftwareVersion", QStringLiteral("Software Version Information:"),
      QStringLiteral("Software Version Information: Packets 0x1F, 0x45"),
      QRect(kMargin, kMargin, kClientWidth - 2 * kMargin, kSoftwareHeight));
  {
    QWidget* g = c.Panel_SoftwareVersion;
    const int row0 = kRowTop, row1 = kRowTop + kRowPitch;
    widgets::ui::Caption(g, QStringLiteral("Application Version"), QRect(8, row0, 124, kRowHeight),
                "Label_NavVersion");
    c.Panel_NavVersion = widgets::ui::Panel(g, "Panel_NavVersion", QRect(134, row0, 64, kRowHeight));
    widgets::ui::Caption(g, QStringLiteral("Date"), QRect(210, row0, 30, kRowHeight), "Label_NavDate");
    c.Panel_NavDate = widgets::ui::Panel(g, "Panel_NavDate", QRect(242, row0, 80, kRowHeight));
    c.Label_NavHour =
        widgets::ui::Caption(g, QStringLiteral("Hour"), QRect(334, row0, 30, kRowHeight), "Label_NavHour");
    c.Panel_NavHour = widgets::ui::Panel(g, "Panel_NavHour", QRect(366, row0, 68, kRowHeight));
    c.Label_NavHour->hide();
    c.Panel_NavHour->hide();
    widgets::ui::Caption(g, QStringLiteral("Signal Processor Version"), QRect(8, row1, 124, kRowHeight),
                "Label_SigVersion");
    c.Panel_SigVersion = widgets::ui::Panel(g, "Panel_SigVersion", QRect(134, row1, 64, kRowHeight));
    widgets::ui::Caption(g, QStringLiteral("Date"), QRect(210, row1, 30, kRowHeight), "Label_SigDate");
    c.Panel_SigDate = widgets::ui::Panel(g, "Panel_SigDate", QRect(242, row1, 80, kRowHeight));
  }

  c.Panel_Production = widgets::ui::Group(this, "Panel_Production", QStringLiteral("Production Parameters:"),
                                 QStringLiteral("Production Parameters: Packet 8E/8F-42"),
                                 QRect(kMargin, kParametersTop, kColumnWidth, kParametersHeight));
  widgets::ui::ValueRows(c.Panel_Production,
                {{"Prod Options Prefix", "Panel_ProdOptsPrefix", &c.Panel_ProdOptsPrefix, nullptr},
                 {"Prod Number Ext.", "Panel_ProdNumExt", &c.Panel_ProdNumExt, nullptr},
                 {"Serial Number Prefix", "Panel_ProdSerNumPrefix", &c.Panel_ProdSerNumPrefix,
                  nullptr},
                 {"Case Serial Number", "Panel_ProdSerNum", &c.Panel_ProdSerNum, nullptr},
                 {"Production Number", "Panel_ProdNum", &c.Panel_ProdNum, nullptr},
                 {"Machine ID Number", "Panel_ProdIDNum", &c.Panel_ProdIDNum, nullptr},
                 {"Premium Options", "Panel_ProdPremOpt", &c.Panel_ProdPremOpt, nullptr}},
                kParameterColumns);

  c.Panel_Manufacturing = widgets::ui::Group(
      this, "Panel_Manufacturing", QStringLiteral("Manufacting Parameters:"),
      QStringLiteral("Manufacturing Parameters: Packet 8E/8F-41"),
      QRect(2 * kMargin + kColumnWidth, kParametersTop, kColumnWidth, kParametersHeight));
  widgets::ui::ValueRows(c.Panel_Manufacturing,
                {{"Serial Number Prefix", "Panel_ManSerNumPrefix", &c.Panel_ManSerNumPrefix, nullptr},
                 {"Board Serial Number", "Panel_ManSerNum", &c.Panel_ManSerNum, nullptr},
                 {"Date of Build", "Panel_ManDate", &c.Panel_ManDate, nullptr},
                 {"Hour of Build", "Panel_ManHour", &c.Panel_ManHour, nullptr},
                 {"Oscillator Offset", "Panel_ManOscOffset", &c.Panel_ManOscOffset, nullptr},
                 {"Test Code ID", "Panel_ManIDNum", &c.Panel_ManIDNum, nullptr}},
                kParameterColumns);

  c.Button_Close = widgets::ui::Button(this, "Button_Close", QStringLiteral("&Close"),
                              QRect(kClientWidth - kMargin - 75, kButtonTop, 75, 25));
  connect(c.Button_Close, &QPushButton::clicked, this, &TForm_Product::Button_CloseClick);
  widgets::dialog::OnActivate(this, [this] { FormActivate(); });
}

std::array<widgets::ValuePanel*, 17> TForm_Product::valuePanels() const {
  const Controls& c = controls_;
  return {c.Panel_NavVersion,      c.Panel_NavDate,        c.Panel_SigVersion,
          c.Panel_SigDate,         c.Panel_ManSerNumPrefix, c.Panel_ManSerNum,
          c.Panel_ManDate,         c.Panel_ManHour,        c.Panel_ManOscOffset,
          c.Panel_ManIDNum,        c.Panel_ProdOptsPrefix, c.Panel_ProdNumExt,
          c.Panel_ProdSerNumPrefix, c.Panel_ProdSerNum,    c.Panel_ProdNum,
          c.Panel_ProdIDNum,       c.Panel_ProdPremOpt};
}

void TForm_Product::ShowHourRow() {
  controls_.Label_NavHour->show();
  controls_.Panel_NavHour->show();
}

void TForm_Product::FormActivate() {
  for (widgets::ValuePanel* p : valuePanels()) p->setText(QString());
  commands::SoftwareVersionRequest1F(link_);
  link_.clock().sleepMs(commands::kQueryGapMs);
  commands::ManufacturingParametersRequest8E41(link_);
  link_.clock().sleepMs(commands::kQueryGapMs);
  commands::ProductionParametersRequest8E42(link_);
}

void TForm_Product::Button_CloseClick() { close(); }

namespace {

QString Number(long long value) { return QString::number(value); }

}  // namespace

void TForm_Product::showSoftwareVersion(const SoftwareVersion& r, bool developer) {
  Controls& c = controls_;
  // The third number comes only with the long form; a short report shows two.
  c.Panel_NavVersion->setText(developer && r.longForm ? r.fullVersionText()
                                                      : r.application.versionText());
  if (developer) ShowHourRow();
  c.Panel_NavDate->setText(r.application.dateText());
  c.Panel_SigVersion->setText(r.signalProcessor.versionText());
  c.Panel_SigDate->setText(r.signalProcessor.dateText());
  if (r.longForm) c.Panel_NavHour->setText(r.buildTimeText());
}

void TForm_Product::showManufacturing(const ManufacturingParameters& r) {
  Controls& c = controls_;
  c.Panel_ManSerNumPrefix->setText(Number(r.serialPrefix));
  c.Panel_ManSerNum->setText(Number(r.serialNumber));
  c.Panel_ManDate->setText(r.buildDateText());
  c.Panel_ManHour->setText(Number(r.hour));
  c.Panel_ManOscOffset->setText(QString::asprintf("%.2f", r.oscillatorOffset));
  c.Panel_ManIDNum->setText(Number(r.testCode));
}

void TForm_Product::showProduction(const ProductionParameters& r) {
  Controls& c = controls_;
  c.Panel_ProdOptsPrefix->setText(Number(r.optionsPrefix));
  c.Panel_ProdNumExt->setText(Number(r.numberExtension));
  c.Panel_ProdSerNumPrefix->setText(Number(r.caseSerialPrefix));
  c.Panel_ProdSerNum->setText(Number(r.caseSerialNumber));
  c.Panel_ProdNum->setText(Number(r.productionNumber));
  c.Panel_ProdPremOpt->setText(Number(r.premiumOptions));
  c.Panel_ProdIDNum->setText(Number(r.machineId));
}

}  // namespace halvix::reports
