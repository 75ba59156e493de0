// TForm_RawMeas: the Raw Measurement Data view window. A tab per satellite
// (1..32); activating the window, changing the tab or "&Refresh" blanks the
// five values and asks for the chosen satellite's raw measurement (0x3A).
// Report 0x5A fills it only for that satellite.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

class QTabBar;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

struct RawMeasurement;

class TForm_RawMeas : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_RawMeas(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    QTabBar* TabControl_SV = nullptr;
    widgets::ValuePanel *Panel_SampleLen{}, *Panel_SignalLevel{}, *Panel_CodePhase{}, *Panel_Doppler{},
        *Panel_Time{};
    QPushButton* Button_Refresh = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // The satellite of the selected tab (tab index + 1).
  int selectedSatellite() const;
  std::array<widgets::ValuePanel*, 5> valuePanels() const;
  // Report 0x5A; a measurement of another satellite than the selected tab's is not shown.
  void showRawMeasurement(const RawMeasurement& r);

  void FormCreate();
  void FormActivate();
  void TabControl_SVChange();
  void Button_RefreshClick();

 private:
  Controls controls_;
  void refresh();

  link::SerialLink& link_;
};

}  // namespace halvix::reports
