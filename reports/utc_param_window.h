// TForm_UTCParam, "UTC Parameters": the read-only view of report 0x4F. Each
// activation and "&Refresh" blank the panels and ask again (0x2F).
#pragma once

#include <QDialog>

namespace halvix::widgets {
class ValuePanel;
}  // namespace halvix::widgets

class QPushButton;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

struct UtcParameters;

class TForm_UTCParam : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_UTCParam(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    widgets::ValuePanel* Panel_A0 = nullptr;
    widgets::ValuePanel* Panel_A1 = nullptr;
    widgets::ValuePanel* Panel_AETls = nullptr;
    widgets::ValuePanel* Panel_Tot = nullptr;
    widgets::ValuePanel* Panel_WNt = nullptr;
    widgets::ValuePanel* Panel_WNlsf = nullptr;
    widgets::ValuePanel* Panel_DN = nullptr;
    widgets::ValuePanel* Panel_AETlsf = nullptr;
    QPushButton* Button_Query = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  void Button_QueryClick();
  // Report 0x4F.
  void showUtcParameters(const UtcParameters& r);

 private:
  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::reports
