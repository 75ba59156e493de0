#include "reports/sky_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "analysis/sky_track.h"

namespace halvix::reports {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Above this the signal counts as strong.
constexpr double kStrongAmu = 16.0;
constexpr int kBarsHeight = 110;

}  // namespace

SkyView::SkyView(const analysis::SkyTrack& sky, QWidget* parent) : QWidget(parent), sky_(sky) {
  setMinimumSize(320, 380);
  setAutoFillBackground(true);
}

QColor SkyView::SignalColour(double amu) {
  const double f = std::clamp(amu / kStrongAmu, 0.0, 1.0);
  // Hue 0 (red) to 120 (green).
  return QColor::fromHsvF(static_cast<float>(f / 3.0), 0.85f, 0.85f);
}

void SkyView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillRect(rect(), palette().base());

  const QRectF skyArea(0, 0, width(), std::max(100, height() - kBarsHeight));
  const double radius = std::min(skyArea.width(), skyArea.height()) / 2.0 - 24.0;
  const QPointF centre = skyArea.center();
  const auto toPoint = [&](const analysis::SkyPosition& s) {
    const double r = radius * (90.0 - std::clamp(s.elevationDeg, 0.0, 90.0)) / 90.0;
    const double a = s.azimuthDeg * kPi / 180.0;
    return QPointF(centre.x() + r * std::sin(a), centre.y() - r * std::cos(a));
  };

  // Grid: horizon, 30 and 60 degrees, and the four directions.
  p.setPen(QPen(palette().mid().color(), 1));
  for (int el : {0, 30, 60}) {
    const double r = radius * (90.0 - el) / 90.0;
    p.drawEllipse(centre, r, r);
    if (el > 0) p.drawText(QPointF(centre.x() + 3, centre.y() - r + 12), QString::number(el) + QChar(0xB0));
  }
  const char* directions[] = {"N", "E", "S", "W"};
  for (int k = 0; k < 4; ++k) {
    const double a = k * kPi / 2.0;
    const QPointF rim(centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a));
    p.drawLine(centre, rim);
    const QPointF label(centre.x() + (radius + 12) * std::sin(a) - 4,
                        centre.y() - (radius + 12) * std::cos(a) + 5);
    p.drawText(label, QString::fromLatin1(directions[k]));
  }

  const auto& satellites = sky_.satellites();
  for (const auto& [prn, s] : satellites) {
    if (!s.positionKnown) continue;  // in the bars only
    const QColor colour = SignalColour(s.signal);
    if (!s.trail.empty()) {
      QPainterPath trail(toPoint(s.trail.front()));
      for (const analysis::SkyPosition& t : s.trail) trail.lineTo(toPoint(t));
      trail.lineTo(toPoint(s.position));
      QColor faded = colour;
      faded.setAlpha(110);
      p.setPen(QPen(faded, 2));
      p.setBrush(Qt::NoBrush);
      p.drawPath(trail);
    }
    const QPointF at = toPoint(s.position);
    p.setPen(QPen(colour.darker(140), 2));
    p.setBrush(s.used ? QBrush(colour) : Qt::NoBrush);
    p.drawEllipse(at, 7, 7);
    p.setPen(palette().text().color());
    p.drawText(at + QPointF(9, -6), QString::number(prn));
  }
  if (satellites.empty()) {
    p.setPen(palette().text().color());
    p.drawText(skyArea, Qt::AlignCenter, QStringLiteral("No satellites tracked (report 0x5C)"));
  }

  // Signal bars, one per satellite in number order, filled when used.
  const QRectF bars(12, skyArea.bottom() + 8, width() - 24, kBarsHeight - 30);
  p.setPen(QPen(palette().mid().color(), 1));
  p.drawLine(bars.bottomLeft(), bars.bottomRight());
  if (satellites.empty()) return;
  const double pitch = std::min(40.0, bars.width() / static_cast<double>(satellites.size()));
  double x = bars.left();
  for (const auto& [prn, s] : satellites) {
    const double h = bars.height() * std::clamp(s.signal / (kStrongAmu * 1.5), 0.02, 1.0);
    const QRectF bar(x + pitch * 0.15, bars.bottom() - h, pitch * 0.7, h);
    const QColor colour = SignalColour(s.signal);
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(s.used ? QBrush(colour) : Qt::NoBrush);
    p.drawRect(bar);
    p.setPen(palette().text().color());
    p.drawText(QRectF(x, bars.bottom() + 2, pitch, 16), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(prn));
    x += pitch;
  }
}

}  // namespace halvix::reports
