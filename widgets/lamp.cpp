#include "widgets/lamp.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace halvix::widgets {

Lamp::Lamp(QWidget* parent, int diameter)
    : QWidget(parent), color_(QColor::fromRgb(kLampIdle)), diameter_(diameter) {
  resize(diameter_, diameter_);
}

void Lamp::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  update();
}

QSize Lamp::sizeHint() const { return {diameter_, diameter_}; }

void Lamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
  p.setBrush(color_);
  const int d = std::min(width(), height()) - 1;
  p.drawEllipse(QRectF(0.5, 0.5, d, d));
}

void Lamp::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace halvix::widgets
