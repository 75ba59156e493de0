// TForm_Charts: the Charts window. Its first tab draws the timing outputs of
// report 0x8F-AC (PPS offset, oscillator offset, PPS quantization error) and
// the satellites tracked (0x5C) and used (0x6D) over a chosen span, with the
// minor alarms as marks along the top of each plot; zoom, pan and a cursor
// that reads every value. The second tab shows the stability of the PPS
// (ADEV, MDEV, TDEV, HDEV, with and without the quantization correction, each
// point with its 68.3 % interval and noise type), the third the sky. Every report is kept for 24 hours whether the window is shown or
// not. Timing events (PPS steps, alarms, mode, status, survey, outages) are
// marked on the time series and listed on the Events tab, which exports them.
// Once a second the window redraws what is visible and has changed: a
// time series when a pixel column's worth of new data has come (every second
// on the 10-minute span, about once a minute on 24 hours), the stability plot
// every few seconds, the sky every second; nothing while hidden.
#pragma once

#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/sky_track.h"
#include "analysis/timing_events.h"
#include "analysis/timing_history.h"

class QButtonGroup;
class QComboBox;
class QDoubleSpinBox;
class QTableWidget;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace halvix::link {
class Clock;
}
namespace halvix::platform {
class OperatorPrompts;
}

namespace halvix::reports {

struct SupplementalTiming;
struct TrackingStatus;
struct SatelliteSelection;
class SkyView;
class TimeChartView;
class StabilityChartView;

class TForm_Charts : public QWidget {
  Q_OBJECT

 public:
  enum class Span { TenMinutes, OneHour, SixHours, Day, All };
  // Without a supplemental timing report for this long, the window says so.
  static constexpr std::int64_t kTimingSilenceMs = 5'000;
  // The stability plot is rebuilt this often (its sums are kept per sample).
  static constexpr std::int64_t kStabilityRedrawMs = 10'000;

  TForm_Charts(link::Clock& clock, platform::OperatorPrompts& prompts, QWidget* parent = nullptr);
  ~TForm_Charts() override;

  struct Controls {
    QTabWidget* TabControl_Charts = nullptr;
    // Time series.
    std::array<QPushButton*, 5> Button_Span{};  // in Span order
    QPushButton *Button_ExportCSV{}, *Button_ExportPNG{};
    QLabel *Label_Status{}, *Label_Cursor{};
    TimeChartView *Chart_PPSOffset{}, *Chart_Oscillator{}, *Chart_Quantization{}, *Chart_Satellites{};
    // Stability.
    QComboBox* ComboBox_Deviation = nullptr;  // ADEV, MDEV, TDEV, HDEV
    QPushButton* Button_ExportStability = nullptr;
    QLabel* Label_Stability = nullptr;
    StabilityChartView* Chart_Stability = nullptr;
    // Sky.
    SkyView* SkyView_Satellites = nullptr;
    // Events.
    QTableWidget* Table_Events = nullptr;  // time (min), kind, detail
    QDoubleSpinBox* Edit_StepSpreads = nullptr;  // PPS step: times the recent spread
    QDoubleSpinBox* Edit_StepFloor = nullptr;    // PPS step: at least, ns
    QPushButton* Button_ExportEvents = nullptr;
    QTimer* Timer_Redraw = nullptr;
  };
  // The window's own; tests reach them here.
  Controls& testControls() { return controls_; }

  // Seconds of the receiver's own time, when the stream runs faster or
  // slower than the clock: a replay charts one sample per receiver second
  // whatever its speed. Without one, the clock's time.
  void SetTimeSource(std::function<double()> seconds) { timeSource_ = std::move(seconds); }

  // The decoders' feeds.
  void AddTiming(const SupplementalTiming& report);
  void AddTracking(const TrackingStatus& report);
  void AddSelection(const SatelliteSelection& report);

  // Redraws the visible tab now (on show, on a tab change).
  void Redraw();
  // Timer_Redraw, once a second while shown: redraws what is due.
  void RedrawTimer();
  // Redraws of the time series so far: what the once-a-second timer costs.
  int timeSeriesRedraws() const { return timeSeriesRedraws_; }
  void SetSpan(Span span);
  // The time range shown, in seconds of the history; it follows the newest
  // sample until the operator zooms or pans.
  std::pair<double, double> viewRange() const { return {viewFrom_, viewTo_}; }
  bool followsLive() const { return follow_; }
  // Moves the cursor to a time (seconds of the history) and returns its text.
  QString CursorText(double t) const;

  // The device, as the session sees it: an event each. Without these calls
  // an outage is told from the timing reports' silence.
  void DeviceLost();
  void DeviceBack();

  const analysis::TimingHistory& history() const { return history_; }
  // The timing events held (the newest kMaxEvents), oldest first.
  static constexpr std::size_t kMaxEvents = 10'000;
  const std::deque<analysis::TimingEvent>& events() const { return events_; }
  const analysis::SkyTrack& sky() const { return sky_; }

  void Button_ExportCSVClick();
  void Button_ExportPNGClick();
  void Button_ExportStabilityClick();
  void Button_ExportEventsClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  double streamTime() const;
  double now() const;
  double newestTime() const;
  void updateRange();
  void updateStatus();
  // A pixel column's worth of new data in view, or the view itself changed.
  bool timeSeriesDue() const;
  void redrawTimeSeries();
  // Lines the four plots up on the left, whatever their label widths.
  void alignPlots();
  void redrawStability();
  // Zoom by factor around a fraction of the width, and pan by a fraction.
  void zoomView(double fraction, double factor);
  void panView(double fraction);
  void setCursor(std::optional<double> chartX);
  void buildEventsTab();
  void addEvents(std::vector<analysis::TimingEvent> events);
  void stepSettingsChanged();
  bool writeFile(const QString& title, const QString& filter, const QString& suffix,
                 const std::function<bool(const QString&)>& write);

  Controls controls_;
  link::Clock& clock_;
  platform::OperatorPrompts& prompts_;
  analysis::TimingHistory history_;
  analysis::SkyTrack sky_;
  analysis::TimingEventDetector detector_;
  std::deque<analysis::TimingEvent> events_;
  std::function<double()> timeSource_;
  double origin_ = -1;  // stream time of the history's t = 0
  std::int64_t lastTimingMs_ = -1;
  std::int64_t lastStabilityMs_ = -1;
  Span span_ = Span::TenMinutes;
  bool follow_ = true;
  double viewFrom_ = 0;
  double viewTo_ = 600;
  // What the time series show: the newest sample drawn, and whether the
  // view has changed (span, zoom, pan, size) since.
  double drawnNewest_ = 0;
  bool timeSeriesStale_ = true;
  int drawnColumns_ = 0;
  int timeSeriesRedraws_ = 0;
};

}  // namespace halvix::reports
