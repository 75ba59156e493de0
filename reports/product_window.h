// TForm_Product: the Product Info view window. It shows the software versions
// (report 0x45) and the manufacturing (0x8F-41) and production (0x8F-42)
// parameters. Every activation blanks the seventeen value panels and asks for
// all three again; the decoders fill it whether it is shown or not.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

struct SoftwareVersion;
struct ManufacturingParameters;
struct ProductionParameters;

class TForm_Product : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_Product(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    widgets::GroupPanel *Panel_SoftwareVersion{}, *Panel_Production{}, *Panel_Manufacturing{};

    widgets::ValuePanel *Panel_NavVersion{}, *Panel_NavDate{}, *Panel_NavHour{};
    widgets::CaptionLabel* Label_NavHour = nullptr;
    widgets::ValuePanel *Panel_SigVersion{}, *Panel_SigDate{};

    widgets::ValuePanel *Panel_ManSerNumPrefix{}, *Panel_ManSerNum{}, *Panel_ManDate{}, *Panel_ManHour{},
        *Panel_ManOscOffset{}, *Panel_ManIDNum{};

    widgets::ValuePanel *Panel_ProdOptsPrefix{}, *Panel_ProdNumExt{}, *Panel_ProdSerNumPrefix{},
        *Panel_ProdSerNum{}, *Panel_ProdNum{}, *Panel_ProdIDNum{}, *Panel_ProdPremOpt{};

    QPushButton* Button_Close = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // The seventeen value panels in clearing order.
  std::array<widgets::ValuePanel*, 17> valuePanels() const;

  // The application's build-time row, shown in developer mode; once shown it stays.
  void ShowHourRow();

  // Blanks the panels, then asks for the version (0x1F), the manufacturing
  // (0x8E-41) and the production (0x8E-42) parameters, 200 ms apart.
  void FormActivate();
  void Button_CloseClick();

  // Report 0x45; in developer mode the long form's third number and build hour too.
  void showSoftwareVersion(const SoftwareVersion& r, bool developer);
  // Report 0x8F-41.
  void showManufacturing(const ManufacturingParameters& r);
  // Report 0x8F-42.
  void showProduction(const ProductionParameters& r);

 private:
  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::reports
