#include "app/splash_window.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "tools/emblem.h"

namespace halvix::app {

QPixmap DrawSplashPicture() {
  constexpr int kWidth = 360, kHeight = 200;
  QPixmap pixmap(kWidth, kHeight);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0.0, QColor(0x0B, 0x1F, 0x3A));
  sky.setColorAt(1.0, QColor(0x1C, 0x4E, 0x7A));
  p.fillRect(pixmap.rect(), sky);

  // Faint orbits behind the program's emblem in the right-hand part.
  const QPointF centre(290, 100);
  p.setPen(QPen(QColor(255, 255, 255, 50), 1.2));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 3; ++i) {
    p.save();
    p.translate(centre);
    p.rotate(-25.0 + 35.0 * i);
    p.drawEllipse(QPointF(0, 0), 78, 28);
    p.restore();
  }
  tools::PaintEmblem(p, centre.x() - 60, centre.y() - 60, 120);

  // Timing pulses along the bottom edge.
  QPainterPath pulses;
  pulses.moveTo(20, 178);
  for (int x = 20; x < 200; x += 30) {
    pulses.lineTo(x, 178);
    pulses.lineTo(x, 166);
    pulses.lineTo(x + 6, 166);
    pulses.lineTo(x + 6, 178);
  }
  pulses.lineTo(200, 178);
  p.setPen(QPen(QColor(0xFF, 0xFF, 0x00, 200), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawPath(pulses);

  QFont title(QStringLiteral("DejaVu Sans"));
  title.setPixelSize(46);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(20, 28, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Halvix"));

  QFont line(QStringLiteral("DejaVu Sans"));
  line.setPixelSize(14);
  p.setFont(line);
  p.setPen(QColor(0xD8, 0xE6, 0xF2));
  p.drawText(QRect(22, 88, 300, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("GPS timing receiver monitor"));
  line.setPixelSize(11);
  p.setFont(line);
  p.setPen(QColor(0xA8, 0xC0, 0xD8));
  p.drawText(QRect(22, 112, 200, 18), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Version %1").arg(QStringLiteral(HALVIX_VERSION)));
  return pixmap;
}

TForm_Splash::TForm_Splash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), picture_(DrawSplashPicture()) {
  setObjectName(QStringLiteral("Form_Splash"));
  panel_ = new QFrame(this);
  panel_->setObjectName(QStringLiteral("Panel_Splash"));
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(2);
  image_ = new QLabel(panel_);
  image_->setObjectName(QStringLiteral("Image_Splash"));
  image_->setScaledContents(true);
  image_->setPixmap(picture_);
  FitToPicture();
}

void TForm_Splash::FitToPicture() {
  const int panelWidth = picture_.width() + 4;
  const int panelHeight = picture_.height() + 4;
  panel_->setGeometry(0, 0, panelWidth, panelHeight);
  image_->setGeometry(2, 2, picture_.width(), picture_.height());
  resize(panelWidth + 3, panelHeight + 4);
  if (QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen()) {
    QRect r = rect();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
  }
}

}  // namespace halvix::app
