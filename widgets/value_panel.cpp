#include "widgets/value_panel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>

#include "widgets/accessibility.h"

namespace halvix::widgets {

ValuePanel::ValuePanel(QWidget* parent) : QLabel(parent) {
  EnsureAccessibility();
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAutoFillBackground(true);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setIndent(3);
  color_ = QColor();  // force the first setColor to apply
  setLive();
}

QColor ValuePanel::windowColor() { return QApplication::palette().color(QPalette::Base); }

QColor ValuePanel::buttonFaceColor() { return QApplication::palette().color(QPalette::Button); }

void ValuePanel::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, color);
  setPalette(pal);
}

void ValuePanel::setValue(const QString& text, const QColor& color) {
  setText(text);
  setColor(color);
}

void ValuePanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Q_EMIT clicked();
  QLabel::mouseReleaseEvent(event);
}

}  // namespace halvix::widgets
