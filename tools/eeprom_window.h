// TForm_EEPROM: the EEPROM Status view window. One lamp per configuration
// segment (bits 0 to 8 and 11 of report 0x5F-11): yellow when the receiver
// found the segment corrupted and set it to its default, green when it is
// sound, grey until the answer arrives. Showing it or "&Refresh" asks again.
#pragma once

#include <QDialog>
#include <array>

namespace halvix::widgets {
class CaptionLabel;
class Lamp;
}  // namespace halvix::widgets

class QPushButton;

namespace halvix::link {
class SerialLink;
}
namespace halvix::reports {
struct SegmentStatus;
}

namespace halvix::tools {

class TForm_EEPROM : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kSegmentBits = 16;
  // The segment bits that have a lamp, top to bottom.
  static constexpr std::array<int, 10> kShownBits{0, 1, 2, 3, 4, 5, 6, 7, 8, 11};

  explicit TForm_EEPROM(link::SerialLink& link, QWidget* parent = nullptr);

  struct Controls {
    // Indexed by segment bit; null where a bit has no lamp.
    std::array<widgets::Lamp*, kSegmentBits> Shape_Bit{};
    std::array<widgets::CaptionLabel*, kSegmentBits> Label_Bit{};
    QPushButton* Button_Refresh = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  widgets::Lamp* segmentLamp(int bit) const;

  // Both grey the lamps and send the segment status request (0x3F-11).
  void FormShow();
  void Button_RefreshClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Controls controls_;
  link::SerialLink& link_;

 public:
  // Report 0x5F-11: a lamp per shown segment, yellow where it is invalid.
  void showSegmentStatus(const reports::SegmentStatus& r);
};

}  // namespace halvix::tools
