// TForm_AddTiming: the Additional Timing Packets view window: the primary UTC
// time report (0x8F-AD), the comprehensive time report (0x8F-0B) and the event
// times both carry. Activating it or "&Refresh" asks for both reports; "&Event
// Capture" pulses RTS, the receiver's event input. Closing it clears it.
#pragma once

#include <QDialog>
#include <array>

class QGroupBox;
class QPushButton;

namespace halvix::link {
class SerialLink;
}

namespace halvix::reports {

class CaptionLabel;
class GroupPanel;
class Lamp;
class ValuePanel;

class TForm_AddTiming : public QDialog {
  Q_OBJECT

 public:
  // Pause between the two refresh queries.
  static constexpr int kQueryGapMs = 200;
  static constexpr QRgb kSatelliteUsedColour = 0xFF00FFFF;  // aqua

  explicit TForm_AddTiming(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    // "Primary UTC Time:"
    GroupPanel* Panel_PrimaryUTC = nullptr;
    CaptionLabel* Label_ADTime = nullptr;
    ValuePanel* Panel_PrimaryUTCTime = nullptr;
    ValuePanel* Panel_UTCDate = nullptr;
    ValuePanel* Panel_Status = nullptr;
    // Lamps of flag bits 0, 4, 5, 6, 7 at index 0..4.
    std::array<Lamp*, 5> Shape_LED{};

    // "Comprehensive Time:"
    GroupPanel* Panel_CompTime = nullptr;
    ValuePanel* Panel_GPSTime = nullptr;
    ValuePanel* Panel_Date = nullptr;
    ValuePanel* Panel_TOW = nullptr;
    ValuePanel* Panel_UTCTime = nullptr;
    ValuePanel* Panel_UTCOffset = nullptr;
    ValuePanel* Panel_RecMode = nullptr;
    ValuePanel* Panel_Bias = nullptr;
    ValuePanel* Panel_BiasUnc = nullptr;
    ValuePanel* Panel_DriftRate = nullptr;
    ValuePanel* Panel_DriftUnc = nullptr;
    ValuePanel* Panel_LatDeg = nullptr;
    ValuePanel* Panel_LatMin = nullptr;
    ValuePanel* Panel_NorthSouth = nullptr;
    ValuePanel* Panel_LonDeg = nullptr;
    ValuePanel* Panel_LonMin = nullptr;
    ValuePanel* Panel_EastWest = nullptr;
    ValuePanel* Panel_Alt = nullptr;
    std::array<ValuePanel*, 8> Panel_SV{};

    // "Event Time:"
    GroupPanel* Panel_Event = nullptr;
    ValuePanel* Panel_EventCounter = nullptr;
    ValuePanel* Panel_EventTime = nullptr;
    QPushButton* Button_Event = nullptr;

    QPushButton* Button_Query = nullptr;
    QPushButton* Button_Clear = nullptr;
    QPushButton* Button_Close = nullptr;
  };
  Controls controls;

  // Lamp of a flag bit of report 0x8F-AD (0, 4..7); null for any other bit.
  Lamp* flagLamp(int bit) const;

  // Asks for the primary UTC time, waits, then asks for the comprehensive time.
  void FormActivate();
  void Button_QueryClick();
  void Button_ClearClick();
  void FormClose();
  void Button_CloseClick();
  // One pulse on RTS: the receiver answers with its event reports.
  void Button_EventClick();

  void done(int result) override;

 protected:
  bool event(QEvent* event) override;

 private:
  link::SerialLink& link_;
};

}  // namespace halvix::reports
