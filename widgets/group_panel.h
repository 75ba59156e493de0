// GroupPanel: the raised (or lowered) bevelled box that holds one group of
// controls, and CaptionLabel: a plain caption that reports clicks, for the
// group titles and captions that open a window when clicked.
#pragma once

#include <QFrame>
#include <QLabel>

namespace halvix::widgets {

class GroupPanel : public QFrame {
  Q_OBJECT

 public:
  enum class Bevel { Raised, Lowered };
  explicit GroupPanel(QWidget* parent = nullptr, Bevel bevel = Bevel::Raised);

 Q_SIGNALS:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  explicit CaptionLabel(const QString& text, QWidget* parent = nullptr);
  // A bold caption, as group titles are.
  void setBold(bool bold);

 Q_SIGNALS:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace halvix::widgets
