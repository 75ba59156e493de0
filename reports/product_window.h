// TForm_Product: the Product Info view window. It shows the software versions
// (report 0x45) and the manufacturing (0x8F-41) and production (0x8F-42)
// parameters. Every activation blanks the seventeen value panels and asks for
// all three again; the decoders fill it whether it is shown or not.
#pragma once

#include <QDialog>
#include <array>

class QPushButton;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

class CaptionLabel;
class GroupPanel;
class ValuePanel;

class TForm_Product : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kQueryGapMs = 200;

  explicit TForm_Product(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    GroupPanel* Panel_SoftwareVersion = nullptr;
    GroupPanel* Panel_Production = nullptr;
    GroupPanel* Panel_Manufacturing = nullptr;

    ValuePanel* Panel_NavVersion = nullptr;
    ValuePanel* Panel_NavDate = nullptr;
    ValuePanel* Panel_NavHour = nullptr;
    CaptionLabel* Label_NavHour = nullptr;
    ValuePanel* Panel_SigVersion = nullptr;
    ValuePanel* Panel_SigDate = nullptr;

    ValuePanel* Panel_ManSerNumPrefix = nullptr;
    ValuePanel* Panel_ManSerNum = nullptr;
    ValuePanel* Panel_ManDate = nullptr;
    ValuePanel* Panel_ManHour = nullptr;
    ValuePanel* Panel_ManOscOffset = nullptr;
    ValuePanel* Panel_ManIDNum = nullptr;

    ValuePanel* Panel_ProdOptsPrefix = nullptr;
    ValuePanel* Panel_ProdNumExt = nullptr;
    ValuePanel* Panel_ProdSerNumPrefix = nullptr;
    ValuePanel* Panel_ProdSerNum = nullptr;
    ValuePanel* Panel_ProdNum = nullptr;
    ValuePanel* Panel_ProdIDNum = nullptr;
    ValuePanel* Panel_ProdPremOpt = nullptr;

    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  // The seventeen value panels in clearing order.
  std::array<ValuePanel*, 17> valuePanels() const;

  // The application's build-time row, shown in developer mode; once shown it stays.
  void ShowHourRow();

  // Blanks the panels, then asks for the version (0x1F), the manufacturing
  // (0x8E-41) and the production (0x8E-42) parameters, 200 ms apart.
  void FormActivate();
  void Button_CloseClick();

 protected:
  bool event(QEvent* event) override;

 private:
  link::SerialLink& link_;
};

}  // namespace halvix::reports
