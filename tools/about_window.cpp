#include "tools/about_window.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "widgets/window_support.h"
#include "tools/emblem.h"

namespace halvix::tools {

namespace ui = widgets::ui;

namespace {

constexpr int kClientWidth = 250;
constexpr int kMargin = 8;
constexpr int kProjectVersionHeight = 16;
constexpr int kAboutHeight = TForm_About::kPictureSide + 4 + 2 * 10 + 54 + kProjectVersionHeight;
constexpr int kButtonTop = kMargin + kAboutHeight + 10;
constexpr int kClientHeight = kButtonTop + 25 + kMargin;

QFrame* Frame(QWidget* parent, const char* name, QFrame::Shadow shadow) {
  auto* f = new QFrame(parent);
  f->setObjectName(QString::fromLatin1(name));
  f->setFrameStyle(QFrame::Panel | shadow);
  f->setLineWidth(1);
  return f;
}

}  // namespace

TForm_About::TForm_About(QWidget* parent) : QDialog(parent) {
  ui::SetUpWindow(this, "Form_About", QStringLiteral("About Halvix"),
                  QSize(kClientWidth, kClientHeight));
  ui::CentreOnFirstShow(this);
  setToolTip(QStringLiteral("About Halvix"));
  Controls& c = controls_;
  c.Panel_About = Frame(this, "Panel_About", QFrame::Sunken);
  c.Panel_About->setGeometry(kMargin, kMargin, kClientWidth - 2 * kMargin, kAboutHeight);

  // The frame is the picture plus 2 pixels all round, centred across the panel.
  const QPixmap picture = DrawEmblem(kPictureSide);
  c.Panel_Pic = Frame(c.Panel_About, "Panel_Pic", QFrame::Sunken);
  const int frameWidth = picture.width() + 4;
  c.Panel_Pic->setGeometry((c.Panel_About->width() - frameWidth) / 2, 10, frameWidth,
                           picture.height() + 4);
  c.Image_Pic = new QLabel(c.Panel_Pic);
  c.Image_Pic->setObjectName(QStringLiteral("Image_Pic"));
  c.Image_Pic->setPixmap(picture);
  c.Image_Pic->setGeometry(2, 2, picture.width(), picture.height());

  const int versionTop = c.Panel_Pic->geometry().bottom() + 1 + 10;
  c.Panel_Version = Frame(c.Panel_About, "Panel_Version", QFrame::Plain);
  c.Panel_Version->setFrameStyle(QFrame::NoFrame);
  c.Panel_Version->setGeometry(4, versionTop, c.Panel_About->width() - 8, 44 + kProjectVersionHeight);
  c.Label_Name = new QLabel(QStringLiteral("Halvix"), c.Panel_Version);
  c.Label_Name->setObjectName(QStringLiteral("Label_Name"));
  QFont name = c.Label_Name->font();
  name.setPixelSize(16);
  name.setBold(true);
  c.Label_Name->setFont(name);
  c.Label_Name->setAlignment(Qt::AlignCenter);
  c.Label_Name->setGeometry(0, 0, c.Panel_Version->width(), 22);
  c.Label_Version = new QLabel(QStringLiteral("Version 2.32"), c.Panel_Version);
  c.Label_Version->setObjectName(QStringLiteral("Label_Version"));
  c.Label_Version->setAlignment(Qt::AlignCenter);
  c.Label_Version->setGeometry(0, 24, c.Panel_Version->width(), 18);
  // The caption above is the classic one; this line says which build is running.
  c.Label_ProjectVersion =
      new QLabel(QStringLiteral("Halvix %1").arg(QStringLiteral(HALVIX_VERSION)), c.Panel_Version);
  c.Label_ProjectVersion->setObjectName(QStringLiteral("Label_ProjectVersion"));
  c.Label_ProjectVersion->setAlignment(Qt::AlignCenter);
  QFont small = c.Label_ProjectVersion->font();
  small.setPixelSize(11);
  c.Label_ProjectVersion->setFont(small);
  c.Label_ProjectVersion->setGeometry(0, 42, c.Panel_Version->width(), kProjectVersionHeight);

  c.Button_OK = ui::Button(this, "Button_OK", QStringLiteral("&OK"),
                           QRect((kClientWidth - 75) / 2, kButtonTop, 75, 25));
  c.Button_OK->setDefault(true);
  connect(c.Button_OK, &QPushButton::clicked, this, &TForm_About::Button_OKClick);
}

void TForm_About::Button_OKClick() { close(); }

}  // namespace halvix::tools
