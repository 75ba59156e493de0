// TForm_UTCParam, "UTC Parameters": the read-only view of report 0x4F. Each
// activation and "&Refresh" blank the panels and ask again (0x2F).
#pragma once

#include <QDialog>

#include "widgets/window_support.h"

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
    widgets::ValuePanel *Panel_A0{}, *Panel_A1{}, *Panel_AETls{}, *Panel_Tot{}, *Panel_WNt{}, *Panel_WNlsf{},
        *Panel_DN{}, *Panel_AETlsf{};
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
