// TForm_InitialTime: the Time From PC dialog. "&Set Time" sends the PC clock
// as GPS week and time of week (0x2E); the receiver's answer, report 0x4E,
// paints the acceptance lamp green or red. The lamp is grey again each time
// the window closes.
#pragma once

#include <cstdint>
#include <memory>

#include "widgets/dialog_support.h"

namespace halvix::widgets {
class Lamp;
}  // namespace halvix::widgets

namespace halvix::link {
class SerialLink;
}
namespace halvix::platform {
class PcClock;
}
namespace halvix::commands {

struct GpsWeekTime {
  std::int16_t week = 0;
  float timeOfWeek = 0.0f;
};

// Seconds since the GPS epoch as week (truncated toward zero) and the
// seconds left in that week.
GpsWeekTime SplitGpsSeconds(double gpsSeconds);

class TForm_InitialTime : public QDialog {
  Q_OBJECT

 public:
  // Without a clock the PC's own clock is read.
  TForm_InitialTime(link::SerialLink& link, const platform::PcClock* pcClock, QWidget* parent = nullptr);
  ~TForm_InitialTime() override;

  struct Controls {
    widgets::Lamp* Shape_TimeAccepted{};
    QPushButton *Button_SetTime{}, *Button_Cancel{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  void Button_SetTimeClick();
  void FormClose();
  // Report 0x4E: the acceptance lamp, green when the receiver took the time, else red.
  void showTimeAccepted(bool accepted);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  Controls controls_;
  link::SerialLink& link_;
  std::unique_ptr<platform::PcClock> ownClock_;
  const platform::PcClock* pcClock_;
};

}  // namespace halvix::commands
