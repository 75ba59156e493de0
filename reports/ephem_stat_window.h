// TForm_EphemStat: the Satellite Ephemeris Status view window. Activating it,
// choosing a satellite or "&Refresh" blanks the six values and asks for that
// satellite's ephemeris status (0x3B); report 0x5B selects the satellite it
// describes and fills the values.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

struct EphemerisStatus;

class TForm_EphemStat : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_EphemStat(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    QComboBox* ComboBox_SV = nullptr;
    QPushButton* Button_Refresh = nullptr;
    widgets::ValuePanel *Panel_Time{}, *Panel_Health{}, *Panel_IODE{}, *Panel_toe{}, *Panel_FitFlag{},
        *Panel_Accuracy{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  std::array<widgets::ValuePanel*, 6> valuePanels() const;
  // Report 0x5B: selects the satellite it describes (without a query) and fills the values.
  void showEphemerisStatus(const EphemerisStatus& r);

  void FormCreate();
  void FormActivate();
  void ComboBox_SVChange();
  void Button_RefreshClick();

 private:
  Controls controls_;
  void refresh();

  link::SerialLink& link_;
};

}  // namespace halvix::reports
