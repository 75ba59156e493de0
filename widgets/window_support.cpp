#include "widgets/window_support.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include "widgets/group_panel.h"
#include "widgets/value_panel.h"

namespace halvix::widgets::ui {

QFont ClassicFont(const QFont& base) {
  QFont f = base;
  f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                 QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                 QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(11);
  return f;
}

QFont FixedPitchFont() {
  // A family list falls back to the proportional default when none of its
  // names is installed, so pick an installed fixed-pitch family by name.
  const QStringList installed = QFontDatabase::families();
  QString family;
  for (const char* name : {"Courier New", "Courier", "Liberation Mono", "DejaVu Sans Mono",
                           "Nimbus Mono PS", "Noto Mono", "Noto Sans Mono"}) {
    const QString candidate = QString::fromLatin1(name);
    if (installed.contains(candidate) && QFontDatabase::isFixedPitch(candidate)) {
      family = candidate;
      break;
    }
  }
  if (family.isEmpty()) {
    const QFontInfo system(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (system.fixedPitch()) family = system.family();
  }
  for (int i = 0; family.isEmpty() && i < installed.size(); ++i) {
    if (QFontDatabase::isFixedPitch(installed[i])) family = installed[i];
  }
  QFont f(family);
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPixelSize(12);
  return f;
}

void SetUpWindow(QDialog* window, const char* name, const QString& caption, const QSize& client) {
  window->setObjectName(QString::fromLatin1(name));
  window->setWindowTitle(caption);
  window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  window->setFont(ClassicFont(window->font()));
  window->setFixedSize(client);
}

namespace {

// Centres its window on the first Show and then stands aside. It runs before
// the dialog's own show handling, which then keeps the position it finds.
class CentreOnce final : public QObject {
 public:
  explicit CentreOnce(QWidget* window) : QObject(window), window_(window) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_ || event->type() != QEvent::Show) return false;
    window_->removeEventFilter(this);
    QScreen* s =
        window_->screen() != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
    if (s != nullptr) {
      QRect frame = window_->frameGeometry();
      frame.moveCenter(s->availableGeometry().center());
      window_->move(frame.topLeft());
    }
    deleteLater();
    return false;
  }

 private:
  QWidget* window_;
};

}  // namespace

void CentreOnFirstShow(QWidget* window) { window->installEventFilter(new CentreOnce(window)); }

CaptionLabel* Caption(QWidget* parent, const QString& text, const QRect& geometry,
                      const char* name) {
  auto* l = new CaptionLabel(text, parent);
  if (name != nullptr) l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(geometry);
  return l;
}

ValuePanel* Panel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* p = new ValuePanel(parent);
  p->setObjectName(QString::fromLatin1(name));
  p->setGeometry(geometry);
  return p;
}

GroupPanel* Group(QWidget* parent, const char* name, const QString& title, const QString& hint,
                  const QRect& geometry) {
  auto* g = new GroupPanel(parent);
  g->setObjectName(QString::fromLatin1(name));
  g->setGeometry(geometry);
  g->setToolTip(hint);
  auto* t = Caption(g, title, QRect(6, 4, geometry.width() - 12, 16));
  t->setObjectName(QStringLiteral("Label_") + QString::fromLatin1(name).mid(6) +
                   QStringLiteral("Title"));
  t->setBold(true);
  return g;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(geometry);
  b->setAutoDefault(false);
  return b;
}

QByteArray Numbered(const char* stem, int n) { return QByteArray(stem) + QByteArray::number(n); }

void ValueRows(QWidget* parent, std::initializer_list<ValueRow> rows, const RowColumns& c) {
  int y = c.top;
  for (const ValueRow& r : rows) {
    Caption(parent, QString::fromLatin1(r.caption), QRect(c.captionX, y, c.captionWidth, 20),
            (QByteArray("Label_") + QByteArray(r.name).mid(6)).constData());
    *r.slot = Panel(parent, r.name, QRect(c.panelX, y, c.panelWidth, 20));
    if (r.unit != nullptr) {
      Caption(parent, QString::fromUtf8(r.unit), QRect(c.unitX, y, c.unitWidth, 20));
    }
    y += c.pitch;
  }
}

SatellitePicker SatellitePickerBar(QWidget* window, int clientWidth, const char* buttonName) {
  auto* top = new GroupPanel(window);
  top->setObjectName(QStringLiteral("Panel_Top"));
  top->setGeometry(6, 6, clientWidth - 12, 36);
  Caption(top, QStringLiteral("SV"), QRect(10, 8, 20, 20), "Label_SV");
  auto* combo = new QComboBox(top);
  combo->setObjectName(QStringLiteral("ComboBox_SV"));
  combo->setGeometry(34, 7, 60, 22);
  for (int n = 1; n <= 32; ++n) combo->addItem(QString::number(n));
  QPushButton* button =
      Button(top, buttonName, QStringLiteral("&Refresh"), QRect(clientWidth - 12 - 83, 5, 75, 25));
  return {combo, button};
}

void ClearPanels(std::span<ValuePanel* const> panels) {
  for (ValuePanel* p : panels) p->clear();
}

void ShowTexts(std::span<ValuePanel* const> panels, std::span<const QString> texts) {
  const std::size_t n = std::min(panels.size(), texts.size());
  for (std::size_t i = 0; i < n; ++i) panels[i]->setText(texts[i]);
}

}  // namespace halvix::widgets::ui
