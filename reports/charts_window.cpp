#include "reports/charts_window.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/decimate.h"
#include "app/operator_prompts.h"
#include "link/clock.h"
#include "reports/satellite_layouts.h"
#include "reports/sky_view.h"
#include "reports/timing_layouts.h"

namespace halvix::reports {

using analysis::SatelliteSample;
using analysis::TimingSample;

namespace {

constexpr double kMinutes = 1.0 / 60.0;  // chart x is in minutes
constexpr double kSpanSeconds[] = {600, 3600, 6 * 3600, 24 * 3600, 0};
const char* const kSpanNames[] = {"Button_Span10Min", "Button_Span1H", "Button_Span6H",
                                  "Button_Span24H", "Button_SpanAll"};
const char* const kSpanCaptions[] = {"10 min", "1 h", "6 h", "24 h", "All"};
constexpr QRgb kAlarmMark = 0xFFFFC000;
// An alarm mark holds until the next report if that comes this soon.
constexpr double kMaxHeldSeconds = analysis::TimingHistory::kMaxBridgedSeconds;
// The narrowest view a zoom reaches, in seconds.
constexpr double kMinViewSeconds = 10.0;

// Minor-alarm captions by bit, as the main window labels its lamps.
QString AlarmName(int bit) {
  static const char* const names[16] = {
      nullptr,          "Antenna Open",       "Antenna Short",         "Satellite Tracking",
      nullptr,          "Self-Survey Activity", "Stored Position",     "Leap Second Pending",
      "Test Mode",      "Position Questionable", "EEPROM Invalid",    "Almanac",
      nullptr,          nullptr,               nullptr,               nullptr};
  return names[bit] != nullptr ? QString::fromLatin1(names[bit])
                               : QStringLiteral("Bit %1").arg(bit);
}

QString AlarmText(std::uint16_t bits) {
  QStringList names;
  for (int bit = 0; bit < 16; ++bit) {
    if ((bits >> bit) & 1) names << AlarmName(bit);
  }
  return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

}  // namespace

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
                    QColor::fromRgb(kAlarmMark));
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

// The log-log stability plot, with an error bar at every point.
class StabilityChartView : public QChartView {
 public:
  struct Bar {
    QLineSeries* series;
    double tau, low, high;
  };

  explicit StabilityChartView(QWidget* parent) : QChartView(new QChart, parent) {
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

  QLogValueAxis* xAxis = nullptr;
  QLogValueAxis* yAxis = nullptr;
  std::array<QLineSeries*, 2> series{};  // raw, quantization corrected
  std::vector<Bar> bars;

 protected:
  void drawForeground(QPainter* p, const QRectF& rect) override {
    QChartView::drawForeground(p, rect);
    p->setClipRect(chart()->plotArea());
    for (const Bar& b : bars) {
      const QPointF lo = chart()->mapToPosition(QPointF(b.tau, b.low), b.series);
      const QPointF hi = chart()->mapToPosition(QPointF(b.tau, b.high), b.series);
      p->setPen(QPen(b.series->pen().color(), 1));
      p->drawLine(lo, hi);
      p->drawLine(lo - QPointF(3, 0), lo + QPointF(3, 0));
      p->drawLine(hi - QPointF(3, 0), hi + QPointF(3, 0));
    }
  }
};

TForm_Charts::TForm_Charts(link::Clock& clock, app::OperatorPrompts& prompts, QWidget* parent)
    : QWidget(parent), clock_(clock), prompts_(prompts) {
  setObjectName(QStringLiteral("Form_Charts"));
  setWindowTitle(QStringLiteral("Charts"));
  setWindowFlag(Qt::Window);
  // Four plots want about 900 px of height to show every label; a smaller screen gets what it has.
  const QRect screen = QGuiApplication::primaryScreen() != nullptr
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1100, 900);
  resize(std::min(1100, screen.width()), std::min(900, screen.height()));
  Controls& c = controls;
  auto* root = new QVBoxLayout(this);
  c.TabControl_Charts = new QTabWidget(this);
  c.TabControl_Charts->setObjectName(QStringLiteral("TabControl_Charts"));
  root->addWidget(c.TabControl_Charts);

  // Time series.
  auto* series = new QWidget;
  auto* sl = new QVBoxLayout(series);
  auto* bar = new QHBoxLayout;
  auto* group = new QButtonGroup(this);
  for (std::size_t i = 0; i < c.Button_Span.size(); ++i) {
    auto* b = new QPushButton(QString::fromLatin1(kSpanCaptions[i]), series);
    b->setObjectName(QString::fromLatin1(kSpanNames[i]));
    b->setCheckable(true);
    group->addButton(b);
    bar->addWidget(b);
    c.Button_Span[i] = b;
    connect(b, &QPushButton::clicked, this, [this, i] { SetSpan(static_cast<Span>(i)); });
  }
  c.Button_Span[0]->setChecked(true);
  bar->addStretch();
  c.Button_ExportCSV = new QPushButton(QStringLiteral("Export &CSV..."), series);
  c.Button_ExportCSV->setObjectName(QStringLiteral("Button_ExportCSV"));
  c.Button_ExportPNG = new QPushButton(QStringLiteral("Export &PNG..."), series);
  c.Button_ExportPNG->setObjectName(QStringLiteral("Button_ExportPNG"));
  connect(c.Button_ExportCSV, &QPushButton::clicked, this, &TForm_Charts::Button_ExportCSVClick);
  connect(c.Button_ExportPNG, &QPushButton::clicked, this, &TForm_Charts::Button_ExportPNGClick);
  bar->addWidget(c.Button_ExportCSV);
  bar->addWidget(c.Button_ExportPNG);
  sl->addLayout(bar);
  c.Label_Status = new QLabel(series);
  c.Label_Status->setObjectName(QStringLiteral("Label_Status"));
  sl->addWidget(c.Label_Status);

  c.Chart_PPSOffset = new TimeChartView(QStringLiteral("Chart_PPSOffset"),
                                        QStringLiteral("PPS offset"), QStringLiteral("ns"), series);
  c.Chart_PPSOffset->addSeries(QStringLiteral("PPS offset"), QColor(0, 70, 200));
  c.Chart_Oscillator = new TimeChartView(QStringLiteral("Chart_Oscillator"),
                                         QStringLiteral("Oscillator offset"), QStringLiteral("ppb"),
                                         series);
  c.Chart_Oscillator->addSeries(QStringLiteral("Oscillator offset"), QColor(170, 60, 0));
  c.Chart_Quantization = new TimeChartView(QStringLiteral("Chart_Quantization"),
                                           QStringLiteral("PPS quantization error"),
                                           QStringLiteral("ns"), series);
  c.Chart_Quantization->addSeries(QStringLiteral("Quantization error"), QColor(120, 0, 150));
  c.Chart_Satellites = new TimeChartView(QStringLiteral("Chart_Satellites"),
                                         QStringLiteral("Satellites"), QStringLiteral("count"),
                                         series);
  c.Chart_Satellites->addSeries(QStringLiteral("Tracked"), QColor(0, 130, 130));
  c.Chart_Satellites->addSeries(QStringLiteral("Used"), QColor(0, 150, 0));
  c.Chart_Satellites->yAxis->setLabelFormat(QStringLiteral("%d"));
  // A legend at the side would narrow this plot against the others.
  c.Chart_Satellites->chart()->legend()->setAlignment(Qt::AlignTop);
  c.Chart_Satellites->xAxis->setTitleText(QStringLiteral("Elapsed time (min)"));
  for (TimeChartView* v : {c.Chart_PPSOffset, c.Chart_Oscillator, c.Chart_Quantization,
                           c.Chart_Satellites}) {
    v->zoom = [this](double f, double factor) { zoomView(f, factor); };
    v->pan = [this](double f) { panView(f); };
    v->home = [this] { SetSpan(span_); };
    v->cursorMoved = [this](std::optional<double> x) { setCursor(x); };
    // The satellites plot carries its legend and the time axis title too.
    sl->addWidget(v, v == c.Chart_Satellites ? 5 : 4);
    // Below this Qt Charts cuts the axis labels to "...".
    v->setMinimumHeight(v == c.Chart_Satellites ? 190 : 150);
    connect(v->chart(), &QChart::plotAreaChanged, this, [this, v] {
      v->laidOut();
      alignPlots();
    });
  }
  c.Label_Cursor = new QLabel(series);
  c.Label_Cursor->setObjectName(QStringLiteral("Label_Cursor"));
  c.Label_Cursor->setText(QStringLiteral(
      "Wheel or +/- zoom, drag or arrow keys pan, Home returns to the live span."));
  sl->addWidget(c.Label_Cursor);
  c.TabControl_Charts->addTab(series, QStringLiteral("Time Series"));

  // Stability.
  auto* stability = new QWidget;
  auto* stl = new QVBoxLayout(stability);
  auto* sbar = new QHBoxLayout;
  c.ComboBox_Deviation = new QComboBox(stability);
  c.ComboBox_Deviation->setObjectName(QStringLiteral("ComboBox_Deviation"));
  c.ComboBox_Deviation->addItems({QStringLiteral("Allan deviation (ADEV)"),
                                  QStringLiteral("Modified Allan deviation (MDEV)"),
                                  QStringLiteral("Time deviation (TDEV)")});
  connect(c.ComboBox_Deviation, &QComboBox::currentIndexChanged, this, [this] {
    lastStabilityMs_ = -1;
    redrawStability();
  });
  sbar->addWidget(c.ComboBox_Deviation);
  sbar->addStretch();
  c.Button_ExportStability = new QPushButton(QStringLiteral("&Export CSV..."), stability);
  c.Button_ExportStability->setObjectName(QStringLiteral("Button_ExportStability"));
  connect(c.Button_ExportStability, &QPushButton::clicked, this,
          &TForm_Charts::Button_ExportStabilityClick);
  sbar->addWidget(c.Button_ExportStability);
  stl->addLayout(sbar);
  c.Label_Stability = new QLabel(stability);
  c.Label_Stability->setObjectName(QStringLiteral("Label_Stability"));
  stl->addWidget(c.Label_Stability);
  c.Chart_Stability = new StabilityChartView(stability);
  stl->addWidget(c.Chart_Stability, 1);
  c.TabControl_Charts->addTab(stability, QStringLiteral("Stability"));

  // Sky.
  c.SkyView_Satellites = new SkyView(sky_, nullptr);
  c.SkyView_Satellites->setObjectName(QStringLiteral("SkyView_Satellites"));
  c.TabControl_Charts->addTab(c.SkyView_Satellites, QStringLiteral("Sky View"));
  connect(c.TabControl_Charts, &QTabWidget::currentChanged, this, [this] {
    lastStabilityMs_ = -1;
    Redraw();
  });

  c.Timer_Redraw = new QTimer(this);
  c.Timer_Redraw->setObjectName(QStringLiteral("Timer_Redraw"));
  c.Timer_Redraw->setInterval(1000);
  connect(c.Timer_Redraw, &QTimer::timeout, this, &TForm_Charts::RedrawTimer);
  Redraw();
}

TForm_Charts::~TForm_Charts() = default;

double TForm_Charts::streamTime() const {
  return timeSource_ ? timeSource_() : static_cast<double>(clock_.nowMs()) / 1000.0;
}

double TForm_Charts::now() const {
  return origin_ < 0 ? 0.0 : streamTime() - origin_;
}

void TForm_Charts::AddTiming(const SupplementalTiming& r) {
  const std::int64_t ms = clock_.nowMs();
  if (origin_ < 0) origin_ = streamTime();
  lastTimingMs_ = ms;
  double t = now();
  const auto& timing = history_.timing();
  if (timeSource_ && !timing.empty()) {
    // The stream's seconds come a poll's worth at a time: the reports of one
    // read are the seconds after the last, one each, up to the stream's time.
    // A longer silence than the analysis bridges is an outage, charted as one.
    const double last = timing.back().t;
    if (t > last && t - last <= analysis::TimingHistory::kMaxBridgedSeconds) {
      t = std::min(last + 1.0, t);
    }
  }
  history_.addTiming(t, static_cast<float>(r.ppsOffset), static_cast<float>(r.oscillatorOffset),
                     static_cast<float>(r.quantizationError), r.minorAlarms);
}

void TForm_Charts::AddTracking(const TrackingStatus& r) {
  sky_.track(r.satellite, r.azimuth, r.elevation, r.signalLevel, clock_.nowMs());
}

void TForm_Charts::AddSelection(const SatelliteSelection& r) {
  const std::int64_t ms = clock_.nowMs();
  if (origin_ < 0) origin_ = streamTime();
  sky_.select(std::span<const std::int8_t>(r.satellites.data(),
                                           static_cast<std::size_t>(r.satelliteCount)));
  sky_.expire(ms);
  history_.addSatellites(now(), sky_.trackedCount(), sky_.usedCount());
}

void TForm_Charts::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  controls.Timer_Redraw->start();
  Redraw();
}

void TForm_Charts::hideEvent(QHideEvent* event) {
  controls.Timer_Redraw->stop();
  QWidget::hideEvent(event);
}

void TForm_Charts::SetSpan(Span span) {
  span_ = span;
  follow_ = true;
  controls.Button_Span[static_cast<std::size_t>(span)]->setChecked(true);
  redrawTimeSeries();
}

double TForm_Charts::newestTime() const {
  const auto& timing = history_.timing();
  const auto& sats = history_.satellites();
  double latest = 0;
  if (!timing.empty()) latest = timing.back().t;
  if (!sats.empty()) latest = std::max(latest, sats.back().t);
  return latest;
}

void TForm_Charts::updateRange() {
  if (!follow_) return;
  const auto& timing = history_.timing();
  const auto& sats = history_.satellites();
  const double latest = newestTime();
  double earliest = std::numeric_limits<double>::infinity();
  if (!timing.empty()) earliest = timing.front().t;
  if (!sats.empty()) earliest = std::min(earliest, sats.front().t);
  if (!std::isfinite(earliest)) earliest = 0;
  const double span = kSpanSeconds[static_cast<std::size_t>(span_)];
  if (span > 0) {
    viewTo_ = std::max(latest, span);
    viewFrom_ = viewTo_ - span;
  } else {
    viewFrom_ = earliest;
    viewTo_ = std::max(latest, earliest + 60.0);
  }
}

void TForm_Charts::zoomView(double fraction, double factor) {
  const double range = viewTo_ - viewFrom_;
  const double centre = viewFrom_ + fraction * range;
  const double next = std::clamp(range * factor, kMinViewSeconds, 10.0 * 86'400);
  viewFrom_ = centre - fraction * next;
  viewTo_ = viewFrom_ + next;
  follow_ = false;
  redrawTimeSeries();
}

void TForm_Charts::panView(double fraction) {
  const double shift = fraction * (viewTo_ - viewFrom_);
  viewFrom_ += shift;
  viewTo_ += shift;
  follow_ = false;
  redrawTimeSeries();
}

void TForm_Charts::alignPlots() {
  const Controls& c = controls;
  const std::array<TimeChartView*, 4> views{c.Chart_PPSOffset, c.Chart_Oscillator,
                                            c.Chart_Quantization, c.Chart_Satellites};
  double left = 0;
  for (TimeChartView* v : views) left = std::max(left, v->naturalLeft);
  for (TimeChartView* v : views) v->alignLeft(left);
}

void TForm_Charts::setCursor(std::optional<double> chartX) {
  for (TimeChartView* v : {controls.Chart_PPSOffset, controls.Chart_Oscillator,
                           controls.Chart_Quantization, controls.Chart_Satellites}) {
    v->cursorX = chartX;
    v->viewport()->update();
  }
  if (chartX) controls.Label_Cursor->setText(CursorText(*chartX / kMinutes));
}

QString TForm_Charts::CursorText(double t) const {
  const auto nearest = [t](const auto& ring) -> std::optional<std::size_t> {
    if (ring.empty()) return std::nullopt;
    std::size_t i = analysis::LowerBoundByTime(ring, [](const auto& s) { return s.t; }, t);
    if (i == ring.size() || (i > 0 && t - ring[i - 1].t < ring[i].t - t)) --i;
    return i;
  };
  QString text = QStringLiteral("%1 min").arg(t * kMinutes, 0, 'f', 2);
  if (auto i = nearest(history_.timing())) {
    const TimingSample& s = history_.timing()[*i];
    text += QStringLiteral(":  PPS offset %1 ns,  oscillator offset %2 ppb,  quantization error %3 ns,"
                           "  alarms: %4")
                .arg(s.ppsOffset, 0, 'f', 2)
                .arg(s.oscillatorOffset, 0, 'f', 3)
                .arg(s.quantizationError, 0, 'f', 2)
                .arg(AlarmText(s.alarms));
  }
  if (auto i = nearest(history_.satellites())) {
    const SatelliteSample& s = history_.satellites()[*i];
    text += QStringLiteral(";  satellites %1 tracked, %2 used").arg(s.tracked).arg(s.used);
  }
  return text;
}

void TForm_Charts::Redraw() {
  const int tab = controls.TabControl_Charts->currentIndex();
  if (tab == 0) {
    redrawTimeSeries();
  } else if (tab == 1) {
    lastStabilityMs_ = -1;
    redrawStability();
  } else {
    controls.SkyView_Satellites->update();
  }
}

void TForm_Charts::RedrawTimer() {
  if (!isVisible() || isMinimized()) return;
  const int tab = controls.TabControl_Charts->currentIndex();
  if (tab == 0) {
    if (timeSeriesDue()) redrawTimeSeries();
    else updateStatus();
  } else if (tab == 1) {
    redrawStability();
  } else {
    controls.SkyView_Satellites->update();
  }
}

bool TForm_Charts::timeSeriesDue() const {
  if (timeSeriesStale_) return true;
  const double newest = newestTime();
  if (newest <= drawnNewest_) return false;
  // New samples right of a view that stays put are not in it.
  if (!follow_ && drawnNewest_ >= viewTo_) return false;
  const int columns = controls.Chart_PPSOffset->columns();
  if (columns != drawnColumns_) return true;
  const double column = (viewTo_ - viewFrom_) / columns;
  return newest - drawnNewest_ >= column;
}

void TForm_Charts::updateStatus() {
  const bool silent = lastTimingMs_ < 0 || clock_.nowMs() - lastTimingMs_ > kTimingSilenceMs;
  controls.Label_Status->setText(
      silent ? QStringLiteral("No supplemental timing report (0x8F-AC) is arriving: check "
                              "Control > Poll Timing Packets, or the receiver's packet broadcast "
                              "mask.")
             : QStringLiteral("%1 timing samples, %2 satellite samples")
                   .arg(history_.timing().size())
                   .arg(history_.satellites().size()));
}

void TForm_Charts::redrawTimeSeries() {
  Controls& c = controls;
  updateRange();
  updateStatus();
  drawnNewest_ = newestTime();
  timeSeriesStale_ = false;
  ++timeSeriesRedraws_;

  const auto& timing = history_.timing();
  const auto time = [](const auto& s) { return s.t; };
  const auto plot = [&](TimeChartView* view, int seriesIndex, const auto& ring, auto valueOf,
                        double& lo, double& hi) {
    const QList<QPointF> points = analysis::DecimateMinMax(ring, time, valueOf, viewFrom_, viewTo_,
                                                           view->columns(), kMinutes);
    for (const QPointF& p : points) lo = std::min(lo, p.y()), hi = std::max(hi, p.y());
    static_cast<QLineSeries*>(view->chart()->series()[seriesIndex])->replace(points);
  };
  const auto finish = [&](TimeChartView* view, double lo, double hi, bool nice) {
    view->setRanges(viewFrom_ * kMinutes, viewTo_ * kMinutes, lo, hi, nice);
    view->alarmColumns = analysis::ColumnBits(
        timing, time, [](const TimingSample& s) { return s.alarms; }, viewFrom_, viewTo_,
        view->columns(), kMaxHeldSeconds);
    view->viewport()->update();
  };
  const auto padded = [](double& lo, double& hi) {
    if (!(lo <= hi)) lo = 0, hi = 1;
    const double pad = std::max((hi - lo) * 0.08, 0.01);
    lo -= pad;
    hi += pad;
  };
  struct Field {
    TimeChartView* view;
    float TimingSample::*member;
  };
  for (const Field& f : {Field{c.Chart_PPSOffset, &TimingSample::ppsOffset},
                         Field{c.Chart_Oscillator, &TimingSample::oscillatorOffset},
                         Field{c.Chart_Quantization, &TimingSample::quantizationError}}) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    const auto member = f.member;
    plot(f.view, 0, timing, [member](const TimingSample& s) { return s.*member; }, lo, hi);
    padded(lo, hi);
    finish(f.view, lo, hi, true);
  }
  double lo = 0, hi = 4;
  plot(c.Chart_Satellites, 0, history_.satellites(),
       [](const SatelliteSample& s) { return s.tracked; }, lo, hi);
  plot(c.Chart_Satellites, 1, history_.satellites(),
       [](const SatelliteSample& s) { return s.used; }, lo, hi);
  finish(c.Chart_Satellites, 0, std::ceil(hi) + 1, false);
  drawnColumns_ = c.Chart_PPSOffset->columns();
}

void TForm_Charts::redrawStability() {
  const std::int64_t ms = clock_.nowMs();
  if (lastStabilityMs_ >= 0 && ms - lastStabilityMs_ < kStabilityRedrawMs) return;
  lastStabilityMs_ = ms;
  Controls& c = controls;
  StabilityChartView* view = c.Chart_Stability;
  const int kind = std::max(0, c.ComboBox_Deviation->currentIndex());
  const char* const names[] = {"ADEV", "MDEV", "TDEV"};
  view->bars.clear();
  double lo = std::numeric_limits<double>::infinity(), hi = 0, tauMax = 10;
  for (int corrected = 0; corrected < 2; ++corrected) {
    const analysis::StabilityResult r = history_.stability(corrected != 0).result();
    const std::vector<analysis::DeviationPoint>& points =
        kind == 0 ? r.adev : kind == 1 ? r.mdev : r.tdev;
    QLineSeries* s = view->series[static_cast<std::size_t>(corrected)];
    s->setName(QString::fromLatin1(names[kind]) +
               (corrected ? QStringLiteral(", quantization corrected") : QString()));
    QList<QPointF> out;
    // TDEV is shown in nanoseconds.
    const double scale = kind == 2 ? 1e9 : 1.0;
    for (const analysis::DeviationPoint& p : points) {
      if (!(p.value > 0)) continue;
      const double v = p.value * scale;
      const double e = p.errorFraction();
      out.append(QPointF(p.tau, v));
      view->bars.push_back({s, p.tau, v * std::max(1.0 - e, 0.05), v * (1.0 + e)});
      lo = std::min(lo, v * std::max(1.0 - e, 0.05));
      hi = std::max(hi, v * (1.0 + e));
      tauMax = std::max(tauMax, p.tau);
    }
    s->replace(out);
  }
  view->yAxis->setTitleText(kind == 2 ? QStringLiteral("TDEV (ns)") : QString::fromLatin1(names[kind]));
  if (hi > 0) {
    view->yAxis->setRange(std::pow(10.0, std::floor(std::log10(lo))),
                          std::pow(10.0, std::ceil(std::log10(hi))));
  }
  view->xAxis->setRange(1.0, std::pow(10.0, std::ceil(std::log10(tauMax))));
  const std::size_t n = history_.stability(false).size();
  c.Label_Stability->setText(
      n < 4 ? QStringLiteral("Waiting for PPS offsets from report 0x8F-AC: %1 of 4 seconds.").arg(n)
            : QStringLiteral("%1 s of PPS phase, tau0 1 s; error bars 1/sqrt(number of terms).")
                  .arg(n));
  view->viewport()->update();
}

bool TForm_Charts::writeFile(const QString& title, const QString& filter, const QString& suffix,
                             const std::function<bool(const QString&)>& write) {
  QString path = prompts_.saveFileName(title, filter);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
  if (write(path)) return true;
  prompts_.message(QStringLiteral("Error"), QStringLiteral("Unable to write %1.").arg(path),
                   app::PromptButtons::Ok, app::PromptIcon::Warning);
  return false;
}

namespace {

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
  const QByteArray bytes = text.toUtf8();
  const bool ok = file.write(bytes) == bytes.size() && file.flush();
  file.close();
  return ok;
}

const QString kCsvFilter = QStringLiteral("CSV Files (*.csv);;All Files (*.*)");

}  // namespace

void TForm_Charts::Button_ExportCSVClick() {
  QString text;
  QTextStream out(&text);
  out << "time_s,pps_offset_ns,oscillator_offset_ppb,quantization_error_ns,minor_alarms,"
         "satellites_tracked,satellites_used\n";
  const auto& timing = history_.timing();
  for (std::size_t i = 0; i < timing.size(); ++i) {
    const TimingSample& s = timing[i];
    out << QString::number(s.t, 'f', 3) << ',' << QString::number(s.ppsOffset, 'g', 9) << ','
        << QString::number(s.oscillatorOffset, 'g', 9) << ','
        << QString::number(s.quantizationError, 'g', 9) << ','
        << QStringLiteral("0x%1").arg(s.alarms, 4, 16, QLatin1Char('0')) << ',' << s.tracked
        << ',' << s.used << '\n';
  }
  out.flush();
  writeFile(QStringLiteral("Export Time Series"), kCsvFilter, QStringLiteral("csv"),
            [&text](const QString& path) { return WriteText(path, text); });
}

void TForm_Charts::Button_ExportPNGClick() {
  QWidget* page = controls.TabControl_Charts->currentWidget();
  const QPixmap picture = page->grab();
  writeFile(QStringLiteral("Export Picture"), QStringLiteral("PNG Images (*.png);;All Files (*.*)"),
            QStringLiteral("png"), [&picture](const QString& path) {
              return picture.save(path, "PNG");
            });
}

void TForm_Charts::Button_ExportStabilityClick() {
  const analysis::StabilityResult raw = history_.stability(false).result();
  const analysis::StabilityResult corrected = history_.stability(true).result();
  QString text;
  QTextStream out(&text);
  out << "tau_s,adev,adev_corrected,adev_terms,mdev,mdev_corrected,tdev_s,tdev_corrected_s,"
         "mdev_terms\n";
  const auto g = [](double v) { return QString::number(v, 'g', 8); };
  for (std::size_t k = 0; k < raw.adev.size(); ++k) {
    out << g(raw.adev[k].tau) << ',' << g(raw.adev[k].value) << ','
        << g(corrected.adev[k].value) << ',' << raw.adev[k].terms << ',' << g(raw.mdev[k].value)
        << ',' << g(corrected.mdev[k].value) << ',' << g(raw.tdev[k].value) << ','
        << g(corrected.tdev[k].value) << ',' << raw.mdev[k].terms << '\n';
  }
  out.flush();
  writeFile(QStringLiteral("Export Stability"), kCsvFilter, QStringLiteral("csv"),
            [&text](const QString& path) { return WriteText(path, text); });
}

}  // namespace halvix::reports
