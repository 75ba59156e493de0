// TForm_AddTiming: the Additional Timing Packets view window: the primary UTC
// time report (0x8F-AD), the comprehensive time report (0x8F-0B) and the event
// times both carry. Activating it or "&Refresh" asks for both reports; "&Event
// Capture" pulses RTS, the receiver's event input. Closing it clears it.
#pragma once

#include <QDialog>
#include <array>

#include "widgets/window_support.h"

namespace halvix::widgets {
class Lamp;
}

class QGroupBox;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

struct PrimaryUtcTime;
struct ComprehensiveTime;

class TForm_AddTiming : public QDialog {
  Q_OBJECT

 public:
  static constexpr QRgb kSatelliteUsedColour = 0xFF00FFFF;  // aqua

  explicit TForm_AddTiming(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    // "Primary UTC Time:"
    widgets::GroupPanel* Panel_PrimaryUTC = nullptr;
    widgets::CaptionLabel* Label_ADTime = nullptr;
    widgets::ValuePanel *Panel_PrimaryUTCTime{}, *Panel_UTCDate{}, *Panel_Status{};
    // Lamps of flag bits 0, 4, 5, 6, 7 at index 0..4.
    std::array<widgets::Lamp*, 5> Shape_LED{};

    // "Comprehensive Time:"
    widgets::GroupPanel* Panel_CompTime = nullptr;
    widgets::ValuePanel *Panel_GPSTime{}, *Panel_Date{}, *Panel_TOW{}, *Panel_UTCTime{}, *Panel_UTCOffset{},
        *Panel_RecMode{};
    widgets::ValuePanel *Panel_Bias{}, *Panel_BiasUnc{}, *Panel_DriftRate{}, *Panel_DriftUnc{};
    widgets::ValuePanel *Panel_LatDeg{}, *Panel_LatMin{}, *Panel_NorthSouth{}, *Panel_LonDeg{}, *Panel_LonMin{},
        *Panel_EastWest{}, *Panel_Alt{};
    std::array<widgets::ValuePanel*, 8> Panel_SV{};

    // "Event Time:"
    widgets::GroupPanel* Panel_Event = nullptr;
    widgets::ValuePanel *Panel_EventCounter{}, *Panel_EventTime{};
    QPushButton* Button_Event = nullptr;

    QPushButton *Button_Query{}, *Button_Clear{}, *Button_Close{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Lamp of a flag bit of report 0x8F-AD (0, 4..7); null for any other bit.
  widgets::Lamp* flagLamp(int bit) const;

  // Asks for the primary UTC time, waits, then asks for the comprehensive time.
  void FormActivate();
  void Button_QueryClick();
  void Button_ClearClick();
  void FormClose();
  void Button_CloseClick();
  // One pulse on RTS: the receiver answers with its event reports.
  void Button_EventClick();

  void done(int result) override;

  // Report 0x8F-AD: the primary UTC time group, its flag lamps and the event time.
  void showPrimaryUtcTime(const PrimaryUtcTime& r);
  // Report 0x8F-0B: the comprehensive time group and the event time.
  void showComprehensiveTime(const ComprehensiveTime& r);

 private:
  Controls controls_;
  link::SerialLink& link_;
};

}  // namespace halvix::reports
