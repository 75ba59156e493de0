// Lamp: the small painted circle every window uses for a status light.
#pragma once

#include <QColor>
#include <QWidget>

namespace halvix::widgets {

// Lamp colours: lit or good, idle or no data, alarm.
inline constexpr QRgb kLampLit = 0xFF00FF00;
inline constexpr QRgb kLampIdle = 0xFF808080;
inline constexpr QRgb kLampAlarm = 0xFFFFFF00;

class Lamp : public QWidget {
  Q_OBJECT

 public:
  // A lamp starts idle (grey).
  explicit Lamp(QWidget* parent = nullptr, int diameter = 9);

  QColor color() const { return color_; }
  void setColor(const QColor& color);
  bool is(QRgb rgb) const { return color_.rgb() == rgb; }

  QSize sizeHint() const override;

 Q_SIGNALS:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor color_;
  int diameter_;
};

}  // namespace halvix::widgets
