#include "widgets/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "widgets/dialog_support.h"
#include "widgets/value_panel.h"

namespace halvix::widgets {

namespace {

// A caption is a plain label: not a value panel, and showing some text.
bool IsCaption(const QObject* o, const QWidget* panel) {
  const auto* label = qobject_cast<const QLabel*>(o);
  return label != nullptr && label != panel && qobject_cast<const ValuePanel*>(o) == nullptr &&
         !label->text().trimmed().isEmpty();
}

QString Plain(const QString& caption) {
  QString text = caption;
  text.remove(QLatin1Char('&'));
  return text.trimmed();
}

class AccessibleValuePanel final : public QAccessibleWidget {
 public:
  explicit AccessibleValuePanel(QWidget* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    const auto* panel = static_cast<const QLabel*>(widget());
    if (t == QAccessible::Name) return PanelCaption(panel);
    if (t == QAccessible::Value) return panel->text();
    return QAccessibleWidget::text(t);
  }
};

// A drop-down list reads as the text it shows. The list's own interface
// reads an empty value while the list shows only its placeholder, so this
// one stands in for it: the same role, child (the item view) and actions.
class AccessibleList final : public QAccessibleWidget {
 public:
  explicit AccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  QComboBox* list() const { return static_cast<QComboBox*>(widget()); }

  QString text(QAccessible::Text t) const override {
    QString shown = list()->isEditable() && list()->lineEdit() != nullptr
                        ? list()->lineEdit()->text()
                        : dialog::ShownText(list());
    switch (t) {
      case QAccessible::Value: return shown;
      case QAccessible::Name: {
        // As the toolkit does on Linux: the label is a relation there, the
        // name is what the list shows; elsewhere the label.
#ifdef Q_OS_UNIX
        if (!shown.isEmpty()) return shown;
#endif
        return QAccessibleWidget::text(t);
      }
      case QAccessible::Accelerator:
        return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
      default: return QAccessibleWidget::text(t);
    }
  }

  int childCount() const override { return list()->view() != nullptr ? 1 : 0; }
  QAccessibleInterface* child(int index) const override {
    if (index != 0 || list()->view() == nullptr) return nullptr;
    return QAccessible::queryAccessibleInterface(list()->view());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == list()->view() ? 0 : -1;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = list()->view() != nullptr && list()->view()->isVisible();
    s.editable = list()->isEditable();
    return s;
  }

  QStringList actionNames() const override {
    return {showMenuAction(), pressAction(), setFocusAction()};
  }
  void doAction(const QString& name) override {
    if (name == showMenuAction() || name == pressAction()) {
      if (list()->view() != nullptr && list()->view()->isVisible()) list()->hidePopup();
      else list()->showPopup();
    } else {
      QAccessibleWidget::doAction(name);
    }
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
  if (key == QLatin1String(ValuePanel::staticMetaObject.className())) {
    if (auto* panel = qobject_cast<ValuePanel*>(object)) return new AccessibleValuePanel(panel);
  }
  if (key == QLatin1String("QComboBox")) {
    if (auto* list = qobject_cast<QComboBox*>(object)) return new AccessibleList(list);
  }
  return nullptr;
}

}  // namespace

void EnsureAccessibility() {
  // After the application's own factories, which it installs as it starts:
  // the factory installed last is asked first.
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

QString PanelCaption(const QWidget* panel) {
  if (!panel->accessibleName().isEmpty()) return panel->accessibleName();
  const QWidget* parent = panel->parentWidget();
  const QRect at = panel->geometry();
  if (parent != nullptr) {
    // The nearest caption ending left of the panel on its row...
    const QLabel* left = nullptr;
    // ...else the nearest row of captions above it that it lies under (the
    // column titles of a table, all of them for a panel spanning several).
    std::vector<const QLabel*> above;
    int aboveBottom = -1;
    for (const QObject* o : parent->children()) {
      if (!IsCaption(o, panel)) continue;
      const auto* label = static_cast<const QLabel*>(o);
      // A laid-out row names its caption's partner outright.
      if (label->buddy() == panel) return Plain(label->text());
      const QRect g = label->geometry();
      if (g.right() <= at.left() + 2 && g.top() <= at.center().y() && g.bottom() >= at.center().y()) {
        if (left == nullptr || g.right() > left->geometry().right()) left = label;
      } else if (g.bottom() <= at.top() + 2 && g.left() <= at.right() && g.right() >= at.left()) {
        if (g.bottom() > aboveBottom + 2) {
          above.clear();
          aboveBottom = g.bottom();
        }
        if (g.bottom() >= aboveBottom - 2) above.push_back(label);
      }
    }
    // Geometry decides only for windows placed by hand: a laid-out window has
    // none until it is first shown.
    if (left != nullptr) return Plain(left->text());
    if (!above.empty()) {
      std::sort(above.begin(), above.end(), [](const QLabel* a, const QLabel* b) {
        return a->geometry().left() < b->geometry().left();
      });
      QStringList titles;
      for (const QLabel* l : above) titles << Plain(l->text());
      return titles.join(QLatin1Char(' '));
    }
    // Alone in a titled box: the box's title says what it shows.
    const auto* box = qobject_cast<const QGroupBox*>(parent);
    if (box != nullptr && !box->title().trimmed().isEmpty()) return Plain(box->title());
  }
  return panel->toolTip();
}

}  // namespace halvix::widgets
