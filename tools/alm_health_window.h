// TForm_AlmHealth: the Almanac Health Page view window: one panel per
// satellite 1..32. Activating it or "&Refresh" blanks them and asks for the
// health page (0x29); report 0x49 fills them.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

namespace halvix::link {
class SerialLink;
}
namespace halvix::reports {
struct AlmanacHealth;
}

namespace halvix::tools {

class TForm_AlmHealth : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSatellites = 32;

  explicit TForm_AlmHealth(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    // The value panel of satellite n at index n - 1.
    std::array<widgets::ValuePanel*, kSatellites> Panel_SV{};
    QPushButton* Button_Query = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void FormActivate();
  void Button_QueryClick();

  // Report 0x49: the health of every satellite.
  void showHealth(const reports::AlmanacHealth& r);

 private:
  void refresh();

  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::tools
