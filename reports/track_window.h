// TForm_Track: the Tracking Status view window: one fixed-pitch text row per
// receiver channel (report 0x5C) under column titles that line up with it,
// and the satellite selection list and DOPs (report 0x6D). No buttons, no
// query: the link timer's round robin keeps it filled.
#pragma once

#include <QDialog>
#include <array>

namespace halvix::widgets {
class CaptionLabel;
class ValuePanel;
}  // namespace halvix::widgets

namespace halvix::reports {

struct SatelliteSelection;

class TForm_Track : public QDialog {
  Q_OBJECT

 public:
  // Right edges of the columns, in characters of the row text
  // ("%3d%4d%5d%4d%8.1f%10.1f%6.1f%7.1f").
  static constexpr std::array<int, 8> kColumnEnds = {3, 7, 12, 16, 24, 34, 40, 47};

  explicit TForm_Track(QWidget* parent = nullptr);

  struct Controls {
    // "SV", "Chan", "Acq", "Eph", "AMU", "Time", "Elev", "Azim".
    std::array<widgets::CaptionLabel*, 8> Label_Column{};
    // Rows 1..12 at index 0..11.
    std::array<widgets::ValuePanel*, 12> Panel_TS{};
    widgets::ValuePanel* Panel_SVSel = nullptr;
    widgets::ValuePanel *Panel_PDOP{}, *Panel_HDOP{}, *Panel_VDOP{}, *Panel_TDOP{};
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Left edge of the row text inside a row panel, in pixels.
  int rowTextLeft() const;

  // Report 0x5C: one channel's row (0..11); rows outside the table are ignored.
  void showTrackingRow(int row, const QString& text);
  // A channel that has not been reported for a while.
  void clearTrackingRow(int row);
  // Report 0x6D: the DOPs and the selection list.
  void showSelection(const SatelliteSelection& r);

 private:
  Controls controls_;
};

}  // namespace halvix::reports
