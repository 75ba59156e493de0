#include "widgets/group_panel.h"

#include <QMouseEvent>

namespace halvix::widgets {

namespace {

bool isClick(const QWidget* w, const QMouseEvent* event) {
  return event->button() == Qt::LeftButton && w->rect().contains(event->position().toPoint());
}

}  // namespace

GroupPanel::GroupPanel(QWidget* parent, Bevel bevel) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | (bevel == Bevel::Raised ? QFrame::Raised : QFrame::Sunken));
  setLineWidth(1);
}

void GroupPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (isClick(this, event)) Q_EMIT clicked();
  QFrame::mouseReleaseEvent(event);
}

CaptionLabel::CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void CaptionLabel::setBold(bool bold) {
  QFont f = font();
  f.setBold(bold);
  setFont(f);
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (isClick(this, event)) Q_EMIT clicked();
  QLabel::mouseReleaseEvent(event);
}

}  // namespace halvix::widgets
