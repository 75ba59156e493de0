// TForm_VelPos: the Velocity and Positioning view window. The position and
// velocity report decoders write into its sixteen panels whether it is shown
// or not; each position group's hint names the report that filled it last.
// It sends no query. Closing it clears it.
#pragma once

#include <QDialog>
#include <array>

class QPushButton;

namespace halvix::reports {

class GroupPanel;
class ValuePanel;

class TForm_VelPos : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_VelPos(QWidget* parent = nullptr);

  struct Controls {
    GroupPanel* Panel_LLAPosition = nullptr;
    GroupPanel* Panel_ECEFPosition = nullptr;
    GroupPanel* Panel_ECEFVelocity = nullptr;
    GroupPanel* Panel_ENUVelocity = nullptr;

    ValuePanel* Panel_Latitude = nullptr;
    ValuePanel* Panel_Longitude = nullptr;
    ValuePanel* Panel_Altitude = nullptr;
    ValuePanel* Panel_LLABias = nullptr;
    ValuePanel* Panel_PosX = nullptr;
    ValuePanel* Panel_PosY = nullptr;
    ValuePanel* Panel_PosZ = nullptr;
    ValuePanel* Panel_ECEFBias = nullptr;
    ValuePanel* Panel_VelX = nullptr;
    ValuePanel* Panel_VelY = nullptr;
    ValuePanel* Panel_VelZ = nullptr;
    ValuePanel* Panel_BiasRate = nullptr;
    ValuePanel* Panel_East = nullptr;
    ValuePanel* Panel_North = nullptr;
    ValuePanel* Panel_Up = nullptr;
    ValuePanel* Panel_ENUBiasRate = nullptr;

    QPushButton* Button_Close = nullptr;
    QPushButton* Button1 = nullptr;
  };
  Controls controls;

  // The sixteen value panels in clearing order.
  std::array<ValuePanel*, 16> valuePanels() const;

  // "C&lear" and the close event: every value panel to a single blank.
  void Button1Click();
  void FormClose();
  void Button_CloseClick();

  // Any way of dismissing the window (close box, Esc, "&Close") clears it.
  void done(int result) override;
};

}  // namespace halvix::reports
