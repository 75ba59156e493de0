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
    widgets::ValuePanel* Panel_T_zc = nullptr;
    widgets::ValuePanel* Panel_WeekNum = nullptr;
    widgets::ValuePanel* Panel_Eccentricity = nullptr;
    widgets::ValuePanel* Panel_T_oa = nullptr;
    widgets::ValuePanel* Panel_i_o = nullptr;
    widgets::ValuePanel* Panel_OMEGA_dot = nullptr;
    widgets::ValuePanel* Panel_SqRootA = nullptr;
    widgets::ValuePanel* Panel_OMEGAo = nullptr;
    widgets::ValuePanel* Panel_Omega = nullptr;
    widgets::ValuePanel* Panel_Mo = nullptr;
  };
  Controls controls;

  std::array<widgets::ValuePanel*, 10> valuePanels() const;
  // The chosen satellite (item index + 1).
  int selectedSatellite() const;

  void FormCreate();
  void FormActivate();
  void ComboBox_SVChange();
  void Button_QueryClick();

 private:
  void refresh();

  link::SerialLink& link_;

 public:
  // Report 0x40; almanac data of another satellite than the chosen one is not shown.
  void showAlmanac(const reports::AlmanacData& r);
};

}  // namespace halvix::tools
