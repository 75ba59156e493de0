// TForm_VelPos: the Velocity and Positioning view window. The position and
// velocity report decoders write into its sixteen panels whether it is shown
// or not; each position group's hint names the report that filled it last.
// It sends no query. Closing it clears it.
#pragma once

#include <QDialog>
#include <array>

namespace halvix::widgets {
class GroupPanel;
class ValuePanel;
}  // namespace halvix::widgets

class QPushButton;

namespace halvix::reports {

struct XyzPosition;
struct PreciseXyzPosition;
struct LlaPosition;
struct PreciseLlaPosition;
struct XyzVelocity;
struct EnuVelocity;

class TForm_VelPos : public QDialog {
  Q_OBJECT

 public:
  explicit TForm_VelPos(QWidget* parent = nullptr);

  struct Controls {
    widgets::GroupPanel* Panel_LLAPosition = nullptr;
    widgets::GroupPanel* Panel_ECEFPosition = nullptr;
    widgets::GroupPanel* Panel_ECEFVelocity = nullptr;
    widgets::GroupPanel* Panel_ENUVelocity = nullptr;

    widgets::ValuePanel* Panel_Latitude = nullptr;
    widgets::ValuePanel* Panel_Longitude = nullptr;
    widgets::ValuePanel* Panel_Altitude = nullptr;
    widgets::ValuePanel* Panel_LLABias = nullptr;
    widgets::ValuePanel* Panel_PosX = nullptr;
    widgets::ValuePanel* Panel_PosY = nullptr;
    widgets::ValuePanel* Panel_PosZ = nullptr;
    widgets::ValuePanel* Panel_ECEFBias = nullptr;
    widgets::ValuePanel* Panel_VelX = nullptr;
    widgets::ValuePanel* Panel_VelY = nullptr;
    widgets::ValuePanel* Panel_VelZ = nullptr;
    widgets::ValuePanel* Panel_BiasRate = nullptr;
    widgets::ValuePanel* Panel_East = nullptr;
    widgets::ValuePanel* Panel_North = nullptr;
    widgets::ValuePanel* Panel_Up = nullptr;
    widgets::ValuePanel* Panel_ENUBiasRate = nullptr;

    QPushButton* Button_Close = nullptr;
    QPushButton* Button1 = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // The sixteen value panels in clearing order.
  std::array<widgets::ValuePanel*, 16> valuePanels() const;

  // "C&lear" and the close event: every value panel to a single blank.
  void Button1Click();
  void FormClose();
  void Button_CloseClick();

  // Any way of dismissing the window (close box, Esc, "&Close") clears it.
  void done(int result) override;

  // The position and velocity reports; a position group's hint names the report.
  void showPosition(const XyzPosition& r);
  void showPosition(const PreciseXyzPosition& r);
  void showPosition(const LlaPosition& r);
  void showPosition(const PreciseLlaPosition& r);
  void showVelocity(const XyzVelocity& r);
  void showVelocity(const EnuVelocity& r);

 private:
  Controls controls_;
};

}  // namespace halvix::reports
