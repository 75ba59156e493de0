// TForm_AddTiming: the Additional Timing Packets view window: the primary UTC
// time report (0x8F-AD), the comprehensive time report (0x8F-0B) and the event
// times both carry. Activating it or "&Refresh" asks for both reports; "&Event
// Capture" pulses RTS, the receiver's event input. Closing it clears it.
#pragma once

#include <QDialog>
#include <array>

namespace halvix::widgets {
class CaptionLabel;
class GroupPanel;
class Lamp;
class ValuePanel;
}  // namespace halvix::widgets

class QGroupBox;
class QPushButton;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

struct PrimaryUtcTime;
struct ComprehensiveTime;

class TForm_AddTiming : public QDialog {
  Q_OBJECT

 public:
  // Pause between the two refresh queries.
  static constexpr int kQueryGapMs = 200;
  static constexpr QRgb kSatelliteUsedColour = 0xFF00FFFF;  // aqua

  explicit TForm_AddTiming(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    // "Primary UTC Time:"
    widgets::GroupPanel* Panel_PrimaryUTC = nullptr;
    widgets::CaptionLabel* Label_ADTime = nullptr;
    widgets::ValuePanel* Panel_PrimaryUTCTime = nullptr;
    widgets::ValuePanel* Panel_UTCDate = nullptr;
    widgets::ValuePanel* Panel_Status = nullptr;
    // Lamps of flag bits 0, 4, 5, 6, 7 at index 0..4.
    std::array<widgets::Lamp*, 5> Shape_LED{};

    // "Comprehensive Time:"
    widgets::GroupPanel* Panel_CompTime = nullptr;
    widgets::ValuePanel* Panel_GPSTime = nullptr;
    widgets::ValuePanel* Panel_Date = nullptr;
    widgets::ValuePanel* Panel_TOW = nullptr;
    widgets::ValuePanel* Panel_UTCTime = nullptr;
    widgets::ValuePanel* Panel_UTCOffset = nullptr;
    widgets::ValuePanel* Panel_RecMode = nullptr;
    widgets::ValuePanel* Panel_Bias = nullptr;
    widgets::ValuePanel* Panel_BiasUnc = nullptr;
    widgets::ValuePanel* Panel_DriftRate = nullptr;
    widgets::ValuePanel* Panel_DriftUnc = nullptr;
    widgets::ValuePanel* Panel_LatDeg = nullptr;
    widgets::ValuePanel* Panel_LatMin = nullptr;
    widgets::ValuePanel* Panel_NorthSouth = nullptr;
    widgets::ValuePanel* Panel_LonDeg = nullptr;
    widgets::ValuePanel* Panel_LonMin = nullptr;
    widgets::ValuePanel* Panel_EastWest = nullptr;
    widgets::ValuePanel* Panel_Alt = nullptr;
    std::array<widgets::ValuePanel*, 8> Panel_SV{};

    // "Event Time:"
    widgets::GroupPanel* Panel_Event = nullptr;
    widgets::ValuePanel* Panel_EventCounter = nullptr;
    widgets::ValuePanel* Panel_EventTime = nullptr;
    QPushButton* Button_Event = nullptr;

    QPushButton* Button_Query = nullptr;
    QPushButton* Button_Clear = nullptr;
    QPushButton* Button_Close = nullptr;
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
