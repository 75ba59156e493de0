#include "reports/stability_view.h"

#include <QChart>
#include <QLineSeries>
#include <QLogValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace halvix::reports {

StabilityChartView::StabilityChartView(QWidget* parent) : QChartView(new QChart, parent) {
  setObjectName(QStringLiteral("Chart_Stability"));
  chart()->setMargins(QMargins(4, 2, 4, 2));
  xAxis = new QLogValueAxis(chart());
  xAxis->setTitleText(QStringLiteral("tau (s)"));
  xAxis->setLabelFormat(QStringLiteral("%g"));
  xAxis->setMinorTickCount(8);
  yAxis = new QLogValueAxis(chart());
  yAxis->setLabelFormat(QStringLiteral("%.0e"));
  yAxis->setMinorTickCount(8);
  chart()->addAxis(xAxis, Qt::AlignBottom);
  chart()->addAxis(yAxis, Qt::AlignLeft);
  for (int corrected = 0; corrected < 2; ++corrected) {
    auto* s = new QLineSeries(chart());
    s->setPointsVisible(true);
    s->setPen(QPen(corrected ? QColor(0, 120, 0) : QColor(0, 70, 200), 2));
    chart()->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
    series[static_cast<std::size_t>(corrected)] = s;
  }
  setRenderHint(QPainter::Antialiasing, true);
}

void StabilityChartView::plot(const analysis::StabilityResult& raw,
                              const analysis::StabilityResult& corrected, Deviation deviation) {
  static const char* const kNames[] = {"ADEV", "MDEV", "TDEV", "HDEV"};
  bars.clear();
  double lo = std::numeric_limits<double>::infinity(), hi = 0, tauMax = 10;
  for (int c = 0; c < 2; ++c) {
    const analysis::StabilityResult& r = c == 0 ? raw : corrected;
    const std::vector<analysis::DeviationPoint>& points =
        deviation == Adev ? r.adev : deviation == Mdev ? r.mdev : deviation == Tdev ? r.tdev : r.hdev;
    QLineSeries* s = series[static_cast<std::size_t>(c)];
    s->setName(QString::fromLatin1(kNames[deviation]) +
               (c ? QStringLiteral(", quantization corrected") : QString()));
    QList<QPointF> out;
    const double scale = deviation == Tdev ? 1e9 : 1.0;
    for (const analysis::DeviationPoint& p : points) {
      // A point whose every term spans a gap has no value; a zero has no place on a log axis.
      if (!(p.value > 0)) continue;
      const double v = p.value * scale;
      out.append(QPointF(p.tau, v));
      // An interval too few terms leave open reaches the bottom of the plot.
      const double low = p.low > 0 ? p.low * scale : v * 0.05;
      const double high = std::isfinite(p.high) ? p.high * scale : v * 20;
      bars.push_back({s, p.tau, low, high,
                      QString::fromLatin1(analysis::NoiseName(p.noise).data(),
                                          static_cast<qsizetype>(analysis::NoiseName(p.noise).size()))});
      lo = std::min(lo, low);
      hi = std::max(hi, high);
      tauMax = std::max(tauMax, p.tau);
    }
    s->replace(out);
  }
  yAxis->setTitleText(deviation == Tdev ? QStringLiteral("TDEV (ns)") : QString::fromLatin1(kNames[deviation]));
  if (hi > 0) {
    yAxis->setRange(std::pow(10.0, std::floor(std::log10(lo))), std::pow(10.0, std::ceil(std::log10(hi))));
  }
  xAxis->setRange(1.0, std::pow(10.0, std::ceil(std::log10(tauMax))));
  viewport()->update();
}

void StabilityChartView::drawForeground(QPainter* p, const QRectF& rect) {
  QChartView::drawForeground(p, rect);
  p->setClipRect(chart()->plotArea());
  QFont small = font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
  p->setFont(small);
  const QFontMetricsF metrics(small);
  for (const Bar& b : bars) {
    const QPointF lo = chart()->mapToPosition(QPointF(b.tau, b.low), b.series);
    const QPointF hi = chart()->mapToPosition(QPointF(b.tau, b.high), b.series);
    const QColor colour = b.series->pen().color();
    p->setPen(QPen(colour, 1));
    p->drawLine(lo, hi);
    p->drawLine(lo - QPointF(3, 0), lo + QPointF(3, 0));
    p->drawLine(hi - QPointF(3, 0), hi + QPointF(3, 0));
    // The noise type: above the raw bars, below the corrected ones.
    const bool raw = b.series == series[0];
    const double w = metrics.horizontalAdvance(b.noise);
    QPointF at = raw ? hi + QPointF(-w / 2, -3) : lo + QPointF(-w / 2, metrics.ascent() + 2);
    // Kept inside the plot, where the first and last taus sit on its edges.
    const QRectF area = chart()->plotArea();
    at.setX(std::clamp(at.x(), area.left() + 1, std::max(area.left() + 1, area.right() - w - 1)));
    p->drawText(at, b.noise);
  }
}

}  // namespace halvix::reports
