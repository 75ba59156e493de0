// TForm_VelPos: the Velocity and Positioning view window. The position and
// velocity report decoders write into its sixteen panels whether it is shown
// or not; each position group's hint names the report that filled it last.
// It sends no query. Closing it clears it.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

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
    widgets::GroupPanel *Panel_LLAPosition{}, *Panel_ECEFPosition{}, *Panel_ECEFVelocity{}, *Panel_ENUVelocity{};

    // By group, in the groups' order.
    widgets::ValuePanel *Panel_Latitude{}, *Panel_Longitude{}, *Panel_Altitude{}, *Panel_LLABias{};
    widgets::ValuePanel *Panel_PosX{}, *Panel_PosY{}, *Panel_PosZ{}, *Panel_ECEFBias{};
    widgets::ValuePanel *Panel_VelX{}, *Panel_VelY{}, *Panel_VelZ{}, *Panel_BiasRate{};
    widgets::ValuePanel *Panel_East{}, *Panel_North{}, *Panel_Up{}, *Panel_ENUBiasRate{};

    QPushButton *Button_Close{}, *Button1{};
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
