// The Charts window's log-log stability plot: one deviation (ADEV, MDEV, TDEV
// or HDEV), raw and quantization-corrected, each point with its 68.3 %
// interval as an error bar and the noise type identified at its tau.
#pragma once

#include <QChartView>
#include <QString>
#include <array>
#include <vector>

#include "analysis/stability.h"

class QLineSeries;
class QLogValueAxis;

namespace halvix::reports {

class StabilityChartView : public QChartView {
 public:
  enum Deviation { Adev, Mdev, Tdev, Hdev };
  struct Bar {
    QLineSeries* series;
    double tau, low, high;
    QString noise;  // identified at this tau
  };

  explicit StabilityChartView(QWidget* parent);

  // Plots the deviation of both results; TDEV in nanoseconds.
  void plot(const analysis::StabilityResult& raw, const analysis::StabilityResult& corrected,
            Deviation deviation);

  QLogValueAxis* xAxis = nullptr;
  QLogValueAxis* yAxis = nullptr;
  std::array<QLineSeries*, 2> series{};  // raw, quantization corrected
  std::vector<Bar> bars;

 protected:
  void drawForeground(QPainter* p, const QRectF& rect) override;
};

}  // namespace halvix::reports
