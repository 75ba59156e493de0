// TForm_UTCParam, "UTC Parameters": the read-only view of report 0x4F. Each
// activation and "&Refresh" blank the panels and ask again (0x2F).
#pragma once

#include <QDialog>

class QPushButton;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

class ValuePanel;

class TForm_UTCParam : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_UTCParam(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    ValuePanel* Panel_A0 = nullptr;
    ValuePanel* Panel_A1 = nullptr;
    ValuePanel* Panel_AETls = nullptr;
    ValuePanel* Panel_Tot = nullptr;
    ValuePanel* Panel_WNt = nullptr;
    ValuePanel* Panel_WNlsf = nullptr;
    ValuePanel* Panel_DN = nullptr;
    ValuePanel* Panel_AETlsf = nullptr;
    QPushButton* Button_Query = nullptr;
  };
  Controls controls;

  void FormActivate();
  void Button_QueryClick();

 private:
  link::SerialLink& link_;
};

}  // namespace halvix::reports
