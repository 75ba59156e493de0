// TForm_AlmanacData: the Almanac Data view window. Activating it, choosing a
// satellite or "&Refresh" blanks the ten values and asks for that satellite's
// almanac (0x20); report 0x40 fills it only for the chosen satellite.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

namespace halvix::link {
class SerialLink;
}
namespace halvix::reports {
struct AlmanacData;
}

namespace halvix::tools {

class TForm_AlmanacData : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_AlmanacData(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    QComboBox* ComboBox_SV = nullptr;
    QPushButton* Button_Query = nullptr;
    // In window order: T_zc, week num, eccentricity, T_oa, i_o, OMEGA_dot,
    // sq. root A, OMEGA 0, omega, M o.
    widgets::ValuePanel *Panel_T_zc{}, *Panel_WeekNum{}, *Panel_Eccentricity{}, *Panel_T_oa{}, *Panel_i_o{},
        *Panel_OMEGA_dot{}, *Panel_SqRootA{}, *Panel_OMEGAo{}, *Panel_Omega{}, *Panel_Mo{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  std::array<widgets::ValuePanel*, 10> valuePanels() const;
  // The chosen satellite (item index + 1).
  int selectedSatellite() const;

  void FormCreate();
  void FormActivate();
  void ComboBox_SVChange();
  void Button_QueryClick();

  // Report 0x40; almanac data of another satellite than the chosen one is not shown.
  void showAlmanac(const reports::AlmanacData& r);

 private:
  void refresh();

  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::tools
