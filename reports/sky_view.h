// SkyView: every tracked satellite on a polar plot, azimuth clockwise from
// north and elevation from the horizon (rim) to the zenith (centre). A
// satellite used in the fix is a filled disc, one only tracked is a ring; the
// colour follows the signal level. Its number is beside it, its recent
// positions trail behind it, and one signal bar per satellite runs below.
#pragma once

#include <QColor>
#include <QWidget>

namespace halvix::analysis {
class SkyTrack;
}

namespace halvix::reports {

class SkyView : public QWidget {
 public:
  explicit SkyView(const analysis::SkyTrack& sky, QWidget* parent = nullptr);

  // Weak red through amber to strong green, by signal level in AMU.
  static QColor SignalColour(double amu);

  QSize sizeHint() const override { return {520, 560}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const analysis::SkyTrack& sky_;
};

}  // namespace halvix::reports
