#include "reports/charts_window.h"

#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QComboBox>
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
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/decimate.h"
#include "platform/operator_prompts.h"
#include "link/clock.h"
#include "reports/satellite_layouts.h"
#include "reports/charts_export.h"
#include "reports/sky_view.h"
#include "reports/stability_view.h"
#include "reports/time_chart_view.h"
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
// An alarm mark holds until the next report if that comes this soon.
constexpr double kMaxHeldSeconds = analysis::TimingHistory::kMaxBridgedSeconds;
// The narrowest view a zoom reaches, in seconds.
constexpr double kMinViewSeconds = 10.0;

QString AlarmText(std::uint16_t bits) {
  QStringList names;
  for (int bit = 0; bit < 16; ++bit) {
    if ((bits >> bit) & 1) names << QString::fromStdString(analysis::MinorAlarmName(bit));
  }
  return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

}  // namespace


TForm_Charts::TForm_Charts(link::Clock& clock, platform::OperatorPrompts& prompts, QWidget* parent)
    : QWidget(parent), clock_(clock), prompts_(prompts) {
  setObjectName(QStringLiteral("Form_Charts"));
  setWindowTitle(QStringLiteral("Charts"));
  setWindowFlag(Qt::Window);
  // Four plots want about 900 px of height to show every label; a smaller screen gets what it has.
  const QRect screen = QGuiApplication::primaryScreen() != nullptr
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1100, 900);
  resize(std::min(1100, screen.width()), std::min(900, screen.height()));
  Controls& c = controls_;
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
                                  QStringLiteral("Time deviation (TDEV)"),
                                  QStringLiteral("Hadamard deviation (HDEV)")});
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
  buildEventsTab();
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
  addEvents(detector_.add({t, r.ppsOffset, r.minorAlarms, r.receiverMode, r.statusCode,
                           r.surveyProgress}));
}

void TForm_Charts::DeviceLost() { addEvents(detector_.deviceLost(now())); }

void TForm_Charts::DeviceBack() { addEvents(detector_.deviceBack(now())); }

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
  controls_.Timer_Redraw->start();
  Redraw();
}

void TForm_Charts::hideEvent(QHideEvent* event) {
  controls_.Timer_Redraw->stop();
  QWidget::hideEvent(event);
}

void TForm_Charts::SetSpan(Span span) {
  span_ = span;
  follow_ = true;
  controls_.Button_Span[static_cast<std::size_t>(span)]->setChecked(true);
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
  const Controls& c = controls_;
  const std::array<TimeChartView*, 4> views{c.Chart_PPSOffset, c.Chart_Oscillator,
                                            c.Chart_Quantization, c.Chart_Satellites};
  double left = 0;
  for (TimeChartView* v : views) left = std::max(left, v->naturalLeft);
  for (TimeChartView* v : views) v->alignLeft(left);
}

void TForm_Charts::setCursor(std::optional<double> chartX) {
  for (TimeChartView* v : {controls_.Chart_PPSOffset, controls_.Chart_Oscillator,
                           controls_.Chart_Quantization, controls_.Chart_Satellites}) {
    v->cursorX = chartX;
    v->viewport()->update();
  }
  if (chartX) controls_.Label_Cursor->setText(CursorText(*chartX / kMinutes));
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
  const int tab = controls_.TabControl_Charts->currentIndex();
  if (tab == 0) {
    redrawTimeSeries();
  } else if (tab == 1) {
    lastStabilityMs_ = -1;
    redrawStability();
  } else if (tab == 2) {
    controls_.SkyView_Satellites->update();
  }
  // The Events table is filled as the events come.
}

void TForm_Charts::RedrawTimer() {
  if (!isVisible() || isMinimized()) return;
  const int tab = controls_.TabControl_Charts->currentIndex();
  if (tab == 0) {
    if (timeSeriesDue()) redrawTimeSeries();
    else updateStatus();
  } else if (tab == 1) {
    redrawStability();
  } else if (tab == 2) {
    controls_.SkyView_Satellites->update();
  }
}

bool TForm_Charts::timeSeriesDue() const {
  if (timeSeriesStale_) return true;
  const double newest = newestTime();
  if (newest <= drawnNewest_) return false;
  // New samples right of a view that stays put are not in it.
  if (!follow_ && drawnNewest_ >= viewTo_) return false;
  const int columns = controls_.Chart_PPSOffset->columns();
  if (columns != drawnColumns_) return true;
  const double column = (viewTo_ - viewFrom_) / columns;
  return newest - drawnNewest_ >= column;
}

void TForm_Charts::updateStatus() {
  const bool silent = lastTimingMs_ < 0 || clock_.nowMs() - lastTimingMs_ > kTimingSilenceMs;
  controls_.Label_Status->setText(
      silent ? QStringLiteral("No supplemental timing report (0x8F-AC) is arriving: check "
                              "Control > Poll Timing Packets, or the receiver's packet broadcast "
                              "mask.")
             : QStringLiteral("%1 timing samples, %2 satellite samples")
                   .arg(history_.timing().size())
                   .arg(history_.satellites().size()));
}

void TForm_Charts::redrawTimeSeries() {
  Controls& c = controls_;
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
    view->eventMarks.clear();
    const auto first = analysis::LowerBoundByTime(
        events_, [](const analysis::TimingEvent& e) { return e.t; }, viewFrom_);
    for (std::size_t i = first; i < events_.size() && events_[i].t <= viewTo_; ++i) {
      view->eventMarks.push_back({events_[i].t * kMinutes, EventColour(events_[i].kind)});
    }
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
  Controls& c = controls_;
  const int kind = std::clamp(c.ComboBox_Deviation->currentIndex(), 0, 3);
  c.Chart_Stability->plot(history_.stability(false).result(), history_.stability(true).result(),
                          static_cast<StabilityChartView::Deviation>(kind));
  const std::size_t n = history_.stability(false).size();
  const std::size_t gaps = history_.stabilityGaps();
  c.Label_Stability->setText(
      n < 4 ? QStringLiteral("Waiting for PPS offsets from report 0x8F-AC: %1 of 4 seconds.").arg(n)
            : QStringLiteral("%1 s of PPS phase (%2 s missing: terms across them left out), tau0 1 s; "
                             "bars: 68.3 % confidence for the noise type shown at each point.")
                  .arg(n)
                  .arg(gaps));
}

bool TForm_Charts::writeFile(const QString& title, const QString& filter, const QString& suffix,
                             const std::function<bool(const QString&)>& write) {
  QString path = prompts_.saveFileName(title, filter);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
  if (write(path)) return true;
  prompts_.message(QStringLiteral("Error"), QStringLiteral("Unable to write %1.").arg(path),
                   platform::PromptButtons::Ok, platform::PromptIcon::Warning);
  return false;
}

namespace {

const QString kCsvFilter = QStringLiteral("CSV Files (*.csv);;All Files (*.*)");

}  // namespace

void TForm_Charts::Button_ExportCSVClick() {
  const std::string text = TimeSeriesCsv(history_);
  writeFile(QStringLiteral("Export Time Series"), kCsvFilter, QStringLiteral("csv"),
            [&text](const QString& path) { return WriteTextFile(path, text); });
}

void TForm_Charts::Button_ExportPNGClick() {
  QWidget* page = controls_.TabControl_Charts->currentWidget();
  const QPixmap picture = page->grab();
  writeFile(QStringLiteral("Export Picture"), QStringLiteral("PNG Images (*.png);;All Files (*.*)"),
            QStringLiteral("png"), [&picture](const QString& path) {
              return picture.save(path, "PNG");
            });
}

void TForm_Charts::Button_ExportStabilityClick() {
  const std::string text =
      StabilityCsv(history_.stability(false).result(), history_.stability(true).result());
  writeFile(QStringLiteral("Export Stability"), kCsvFilter, QStringLiteral("csv"),
            [&text](const QString& path) { return WriteTextFile(path, text); });
}

}  // namespace halvix::reports
