// One time-series plot of the Charts window: zoom with the wheel or + and -,
// pan by dragging or with the arrow keys, Home back to the live span; the
// cursor follows the mouse. Minor alarms are a strip along the top, timing
// events a mark each.
#pragma once

#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <string_view>
#include <vector>

namespace halvix::reports {

// The colour that marks a timing event of this kind.
inline QColor EventColour(std::string_view kind) {
  if (kind == "pps_step") return QColor(210, 0, 0);
  if (kind.starts_with("alarm")) return QColor(230, 140, 0);
  if (kind.starts_with("survey")) return QColor(0, 150, 0);
  if (kind.starts_with("device")) return QColor(90, 90, 90);
  return QColor(0, 90, 220);  // mode, status
}

// One time-series plot: zoom with the wheel or + and -, pan by dragging or
// with the arrow keys, Home back to the live span; the cursor follows the mouse.
class TimeChartView : public QChartView {
 public:
  TimeChartView(const QString& name, const QString& title, const QString& unit, QWidget* parent)
      : QChartView(new QChart, parent) {
    setObjectName(name);
    chart()->setTitle(title);
    chart()->setMargins(QMargins(kMargin, 2, kMargin, 2));
    chart()->legend()->setAlignment(Qt::AlignRight);
    xAxis = new QValueAxis(chart());
    // Ticks on round minutes, so a sliding view's labels stay put.
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(0);
    yAxis = new QValueAxis(chart());
    yAxis->setTitleText(unit);
    yAxis->setLabelFormat(QStringLiteral("%.2f"));
    chart()->addAxis(xAxis, Qt::AlignBottom);
    chart()->addAxis(yAxis, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing, false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
  }

  QLineSeries* addSeries(const QString& name, QColor colour) {
    auto* s = new QLineSeries(chart());
    s->setName(name);
    s->setPen(QPen(colour, 1));
    chart()->addSeries(s);
    s->attachAxis(xAxis);
    s->attachAxis(yAxis);
    if (chart()->series().size() == 1) chart()->legend()->hide();
    else chart()->legend()->show();
    return s;
  }
  // Plot columns the data is decimated to.
  int columns() const { return std::max(100, static_cast<int>(chart()->plotArea().width())); }

  // Sets the axes (x in minutes); a range that has not changed is left
  // alone, as a new one lays the chart out again.
  void setRanges(double xFrom, double xTo, double yLo, double yHi, bool nice) {
    if (xFrom != xRange_.first || xTo != xRange_.second) {
      xRange_ = {xFrom, xTo};
      const double step = MinuteStep((xTo - xFrom) / 7.0);
      if (step != xAxis->tickInterval()) {
        xAxis->setTickInterval(step);
        xAxis->setLabelFormat(step >= 1 ? QStringLiteral("%.0f")
                                        : step >= 0.5 ? QStringLiteral("%.1f")
                                                      : QStringLiteral("%.2f"));
      }
      xAxis->setRange(xFrom, xTo);
    }
    if (yLo != yRange_.first || yHi != yRange_.second) {
      yRange_ = {yLo, yHi};
      yAxis->setRange(yLo, yHi);
      if (nice) yAxis->applyNiceNumbers();
    }
  }
  // Where the plot would start with no margin, as of its last layout: read
  // only when that layout is done, as a margin just set is not yet laid out.
  double naturalLeft = 0;
  void laidOut() { naturalLeft = chart()->plotArea().left() - chart()->margins().left(); }
  // The left margin that lines this plot up with one starting at left.
  void alignLeft(double left) {
    QMargins m = chart()->margins();
    const int want =
        kMargin + std::clamp(static_cast<int>(std::lround(left - naturalLeft)), 0, 120);
    if (m.left() == want) return;
    m.setLeft(want);
    chart()->setMargins(m);
  }

  QValueAxis* xAxis = nullptr;
  QValueAxis* yAxis = nullptr;
  std::vector<std::uint16_t> alarmColumns;
  // Timing events in view: chart x (minutes) and colour.
  struct Mark {
    double x;
    QColor colour;
  };
  std::vector<Mark> eventMarks;
  std::optional<double> cursorX;  // chart units
  std::function<void(double fraction, double factor)> zoom;
  std::function<void(double fraction)> pan;
  std::function<void()> home;
  std::function<void(std::optional<double> chartX)> cursorMoved;
  static constexpr int kMargin = 4;

 protected:
  // A tick every step minutes, from a row of steps that read as times.
  static double MinuteStep(double atLeast) {
    for (double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 180.0, 360.0,
                        720.0, 1440.0}) {
      if (step >= atLeast) return step;
    }
    return 2880.0;
  }

  double fractionAt(double x) const {
    const QRectF area = chart()->plotArea();
    return area.width() > 0 ? std::clamp((x - area.left()) / area.width(), 0.0, 1.0) : 0.5;
  }
  void wheelEvent(QWheelEvent* e) override {
    if (zoom) zoom(fractionAt(e->position().x()), e->angleDelta().y() > 0 ? 0.8 : 1.25);
    e->accept();
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) dragFrom_ = e->position().x();
    setFocus();
    e->accept();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    dragFrom_.reset();
    e->accept();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    const QRectF area = chart()->plotArea();
    if (dragFrom_ && pan && area.width() > 0) {
      pan((*dragFrom_ - e->position().x()) / area.width());
      dragFrom_ = e->position().x();
    }
    if (cursorMoved) {
      cursorMoved(xAxis->min() + fractionAt(e->position().x()) * (xAxis->max() - xAxis->min()));
    }
    e->accept();
  }
  void leaveEvent(QEvent* e) override {
    if (cursorMoved) cursorMoved(std::nullopt);
    QChartView::leaveEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:
        if (zoom) zoom(0.5, 0.5);
        break;
      case Qt::Key_Minus:
        if (zoom) zoom(0.5, 2.0);
        break;
      case Qt::Key_Left:
        if (pan) pan(-0.1);
        break;
      case Qt::Key_Right:
        if (pan) pan(0.1);
        break;
      case Qt::Key_Home:
        if (home) home();
        break;
      default: QChartView::keyPressEvent(e); return;
    }
    e->accept();
  }
  void drawForeground(QPainter* p, const QRectF& rect) override {
    QChartView::drawForeground(p, rect);
    const QRectF area = chart()->plotArea();
    // Alarm marks: a strip along the top wherever any minor alarm was set.
    if (!alarmColumns.empty()) {
      const double w = area.width() / static_cast<double>(alarmColumns.size());
      std::size_t i = 0;
      while (i < alarmColumns.size()) {
        if (alarmColumns[i] == 0) {
          ++i;
          continue;
        }
        const std::size_t start = i;
        while (i < alarmColumns.size() && alarmColumns[i] != 0) ++i;
        p->fillRect(QRectF(area.left() + start * w, area.top(), (i - start) * w, 5),
                    QColor::fromRgb(0xFFFFC000));
      }
    }
    // Event marks: a thin line through the plot and a tick along the bottom.
    if (xAxis->max() > xAxis->min()) {
      for (const Mark& m : eventMarks) {
        const double f = (m.x - xAxis->min()) / (xAxis->max() - xAxis->min());
        if (f < 0 || f > 1) continue;
        const double x = area.left() + f * area.width();
        QColor faint = m.colour;
        faint.setAlpha(90);
        p->setPen(QPen(faint, 1));
        p->drawLine(QPointF(x, area.top() + 6), QPointF(x, area.bottom()));
        p->fillRect(QRectF(x - 2, area.bottom() - 7, 4, 7), m.colour);
      }
    }
    if (cursorX && xAxis->max() > xAxis->min()) {
      const double f = (*cursorX - xAxis->min()) / (xAxis->max() - xAxis->min());
      if (f >= 0 && f <= 1) {
        const double x = area.left() + f * area.width();
        p->setPen(QPen(QColor(60, 60, 60), 1, Qt::DashLine));
        p->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
      }
    }
  }

 private:
  std::optional<double> dragFrom_;
  std::pair<double, double> xRange_{0, 0}, yRange_{0, 0};
};

}  // namespace halvix::reports
