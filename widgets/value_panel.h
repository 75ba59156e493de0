// ValuePanel: the sunken text panel that shows one received value. Its
// background is the window colour while its source is live and the
// button-face colour once the source has gone silent; some panels use an
// explicit colour instead (the satellite table's green and yellow).
#pragma once

#include <QColor>
#include <QLabel>

namespace halvix::widgets {

inline constexpr QRgb kPanelGreen = 0xFF00FF00;
inline constexpr QRgb kPanelYellow = 0xFFFFFF00;

class ValuePanel : public QLabel {
  Q_OBJECT

 public:
  explicit ValuePanel(QWidget* parent = nullptr);

  // The two standard looks, taken from the application palette.
  static QColor windowColor();
  static QColor buttonFaceColor();

  QColor color() const { return color_; }
  void setColor(const QColor& color);
  void setLive() { setColor(windowColor()); }
  void setGreyed() { setColor(buttonFaceColor()); }
  bool isLive() const { return color_ == windowColor(); }
  bool isGreyed() const { return color_ == buttonFaceColor(); }

  // Text and colour together, as the decoders usually set them.
  void setValue(const QString& text, const QColor& color);
  void setLiveValue(const QString& text) { setValue(text, windowColor()); }

 Q_SIGNALS:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor color_;
};

}  // namespace halvix::widgets
