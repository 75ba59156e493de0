#include "tools/emblem.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace halvix::tools {

namespace {

// The drawing is laid out on a 128-unit square.
constexpr double kUnits = 128.0;
constexpr double kPi = 3.14159265358979323846;

const QColor kNavy(0x1C, 0x3D, 0x5A);
const QColor kGold(0xD8, 0xA4, 0x1E);
const QColor kPanelBlue(0x2F, 0x6D, 0xB5);
const QColor kSignalGreen(0x00, 0xB0, 0x3C);

QPointF OnCircle(const QPointF& centre, double radius, double clockHours) {
  const double angle = (clockHours / 12.0) * 2.0 * kPi;
  return centre + QPointF(radius * std::sin(angle), -radius * std::cos(angle));
}

void PaintClock(QPainter& p) {
  const QPointF centre(54, 78);
  constexpr double kRadius = 44;
  QRadialGradient face(centre + QPointF(-12, -14), kRadius * 1.4);
  face.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
  face.setColorAt(1.0, QColor(0xD6, 0xDF, 0xE8));
  p.setBrush(face);
  p.setPen(QPen(kNavy, 6));
  p.drawEllipse(centre, kRadius, kRadius);

  for (int h = 0; h < 12; ++h) {
    const bool quarter = h % 3 == 0;
    p.setPen(QPen(kNavy, quarter ? 4 : 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(OnCircle(centre, kRadius - 6, h), OnCircle(centre, kRadius - (quarter ? 14 : 11), h));
  }
  // Ten past ten, the hands framing the top of the face.
  p.setPen(QPen(kNavy, 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre, OnCircle(centre, 22, 10 + 10.0 / 60.0));
  p.setPen(QPen(kNavy, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre, OnCircle(centre, 32, 2));
  p.setPen(QPen(QColor(0xC8, 0x20, 0x20), 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(OnCircle(centre, -8, 6.5), OnCircle(centre, 34, 6.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kNavy);
  p.drawEllipse(centre, 4.5, 4.5);
}

void PaintSignal(QPainter& p) {
  // Arcs spreading from the satellite toward the clock.
  const QPointF source(94, 32);
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 3; ++i) {
    const double r = 14 + 8 * i;
    p.setPen(QPen(kSignalGreen, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), 195 * 16, 60 * 16);
  }
}

void PaintSatellite(QPainter& p) {
  p.save();
  p.translate(94, 32);
  p.rotate(-35);
  p.scale(0.85, 0.85);
  // Solar wings on a strut, either side of the body.
  p.setPen(QPen(kNavy, 2));
  p.drawLine(QPointF(-26, 0), QPointF(26, 0));
  for (double side : {-1.0, 1.0}) {
    const QRectF wing(side < 0 ? -34 : 12, -6, 22, 12);
    p.setBrush(kPanelBlue);
    p.setPen(QPen(kNavy, 1.5));
    p.drawRect(wing);
    p.setPen(QPen(QColor(0xA8, 0xC8, 0xEC), 1));
    for (double x = wing.left() + 5.5; x < wing.right() - 1; x += 5.5) {
      p.drawLine(QPointF(x, wing.top() + 1), QPointF(x, wing.bottom() - 1));
    }
    p.drawLine(QPointF(wing.left() + 1, 0), QPointF(wing.right() - 1, 0));
  }
  p.setBrush(kGold);
  p.setPen(QPen(kNavy, 1.5));
  p.drawRoundedRect(QRectF(-8, -8, 16, 16), 2, 2);
  // The antenna dish faces the ground.
  QPainterPath dish;
  dish.moveTo(-6, 8);
  dish.quadTo(0, 16, 6, 8);
  dish.closeSubpath();
  p.setBrush(QColor(0xEE, 0xEE, 0xEE));
  p.drawPath(dish);
  p.restore();
}

}  // namespace

void PaintEmblem(QPainter& painter, double x, double y, double side) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(x, y);
  painter.scale(side / kUnits, side / kUnits);
  PaintClock(painter);
  PaintSignal(painter);
  PaintSatellite(painter);
  painter.restore();
}

QPixmap DrawEmblem(int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  PaintEmblem(p, 0, 0, side);
  return pixmap;
}

QIcon EmblemIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawEmblem(side));
  return icon;
}

}  // namespace halvix::tools
