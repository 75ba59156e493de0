#include "tools/eeprom_window.h"

#include <QPushButton>
#include <QShowEvent>

#include "commands/catalogue.h"
#include "widgets/group_panel.h"
#include "widgets/lamp.h"
#include "widgets/window_support.h"
#include "reports/version_layouts.h"

namespace halvix::tools {

namespace ui = widgets::ui;
using widgets::Lamp;

namespace {

constexpr int kClientWidth = 232;
constexpr int kMargin = 8;
constexpr int kRowTop = 12, kRowPitch = 22, kLampSize = 11;
constexpr int kButtonTop = kRowTop + 10 * kRowPitch + 6;
constexpr int kClientHeight = kButtonTop + 25 + kMargin;

constexpr const char* kCaptions[] = {
    "Manufacturing parameters", "Production parameters",      "Receiver Configuration",
    "Packet I/O control",       "Serial port configuration",  "Timing output configuration",
    "Accurate position",        "Self-survey configuration",  "NMEA configuration",
    "UTC information"};

}  // namespace

TForm_EEPROM::TForm_EEPROM(link::SerialLink& link, QWidget* parent)
    : QDialog(parent), link_(link) {
  ui::SetUpWindow(this, "Form_EEPROM", QStringLiteral("EEPROM Status"),
                  QSize(kClientWidth, kClientHeight));
  ui::CentreOnFirstShow(this);
  setToolTip(QStringLiteral("EEPROM Segment Status: Packets 3F/5F-11"));
  const QString hint = QStringLiteral("When yellow, segment corrupted and set to default");
  Controls& c = controls_;
  for (std::size_t i = 0; i < kShownBits.size(); ++i) {
    const int bit = kShownBits[i];
    const int top = kRowTop + static_cast<int>(i) * kRowPitch;
    auto* lamp = new widgets::Lamp(this, kLampSize);
    lamp->setObjectName(QString::fromLatin1(ui::Numbered("Shape_Bit", bit)));
    lamp->setGeometry(kMargin + 8, top + 2, kLampSize, kLampSize);
    lamp->setToolTip(hint);
    auto* label = ui::Caption(this, QString::fromLatin1(kCaptions[i]),
                              QRect(kMargin + 26, top, kClientWidth - kMargin - 34, 15),
                              ui::Numbered("Label_Bit", bit).constData());
    label->setToolTip(hint);
    c.Shape_Bit[static_cast<std::size_t>(bit)] = lamp;
    c.Label_Bit[static_cast<std::size_t>(bit)] = label;
  }
  c.Button_Refresh = ui::Button(this, "Button_Refresh", QStringLiteral("&Refresh"),
                                QRect((kClientWidth - 75) / 2, kButtonTop, 75, 25));
  connect(c.Button_Refresh, &QPushButton::clicked, this, &TForm_EEPROM::Button_RefreshClick);
}

widgets::Lamp* TForm_EEPROM::segmentLamp(int bit) const {
  if (bit < 0 || bit >= kSegmentBits) return nullptr;
  return controls_.Shape_Bit[static_cast<std::size_t>(bit)];
}

void TForm_EEPROM::FormShow() {
  for (int bit : kShownBits) segmentLamp(bit)->setColor(QColor::fromRgb(widgets::kLampIdle));
  commands::SegmentStatusRequest3F11(link_);
}

void TForm_EEPROM::Button_RefreshClick() { FormShow(); }

void TForm_EEPROM::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A spontaneous show is the window system restoring it, not the operator opening it.
  if (!event->spontaneous()) FormShow();
}

void TForm_EEPROM::showSegmentStatus(const reports::SegmentStatus& r) {
  for (int bit : kShownBits) {
    segmentLamp(bit)->setColor(
        QColor::fromRgb(r.invalid(bit) ? widgets::kLampAlarm : widgets::kLampLit));
  }
}

}  // namespace halvix::tools
