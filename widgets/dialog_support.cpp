#include "widgets/dialog_support.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <charconv>
#include <climits>
#include <cmath>

#include "platform/operator_prompts.h"
#include "widgets/accessibility.h"
#include "widgets/window_support.h"

namespace halvix::widgets::dialog {

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  if (name != nullptr) widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Calls the handler on WindowActivate; a handler that waits (the pauses
// between queries) is not started again by an activation inside it.
class ActivateFilter final : public QObject {
 public:
  ActivateFilter(QObject* parent, std::function<void()> handler)
      : QObject(parent), handler_(std::move(handler)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate && watched == parent() && !running_) {
      running_ = true;
      handler_();
      running_ = false;
    }
    return false;
  }

 private:
  std::function<void()> handler_;
  bool running_ = false;
};

}  // namespace

QVBoxLayout* SetUpDialog(QDialog* dialog, const char* name, const QString& caption,
                         const QString& hint) {
  dialog->setObjectName(QString::fromLatin1(name));
  dialog->setWindowTitle(caption);
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog->setFont(widgets::ui::ClassicFont(dialog->font()));
  if (!hint.isEmpty()) dialog->setToolTip(hint);
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(6);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return layout;
}

QLabel* Label(QWidget* parent, const QString& text, const char* name) {
  return Named(new QLabel(text, parent), name);
}

QLineEdit* Edit(QWidget* parent, const char* name, const QString& text, const QString& hint) {
  auto* e = Named(new QLineEdit(text, parent), name);
  if (!hint.isEmpty()) e->setToolTip(hint);
  // Wide enough for "-1.000e-06" and the like in any font.
  e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000e-00")) + 12);
  return e;
}

QComboBox* List(QWidget* parent, const char* name, std::initializer_list<const char*> items) {
  auto* c = Named(new QComboBox(parent), name);
  for (const char* item : items) c->addItem(QString::fromLatin1(item));
  c->setCurrentIndex(-1);
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return c;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QCheckBox(caption, parent), name);
}

QRadioButton* Radio(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QRadioButton(caption, parent), name);
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
  auto* b = Named(new QPushButton(text, parent), name);
  b->setAutoDefault(false);
  return b;
}

namespace {

template <typename Box, typename Make>
void Column(QWidget* parent, QBoxLayout* into, std::initializer_list<BoxSpec<Box>> boxes,
            Make make) {
  for (const BoxSpec<Box>& b : boxes) {
    *b.slot = make(parent, b.name, b.caption);
    into->addWidget(*b.slot);
  }
}

}  // namespace

void RadioColumn(QWidget* parent, QBoxLayout* into,
                 std::initializer_list<BoxSpec<QRadioButton>> radios) {
  Column(parent, into, radios, Radio);
}

void CheckColumn(QWidget* parent, QBoxLayout* into,
                 std::initializer_list<BoxSpec<QCheckBox>> boxes) {
  Column(parent, into, boxes, Check);
}

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, const QString& hint,
                 QVBoxLayout** layout) {
  auto* g = Named(new QGroupBox(title, parent), name);
  if (!hint.isEmpty()) g->setToolTip(hint);
  auto* l = new QVBoxLayout(g);
  l->setContentsMargins(8, 6, 8, 8);
  l->setSpacing(4);
  if (layout != nullptr) *layout = l;
  return g;
}

QGroupBox* Section(QWidget* parent, QBoxLayout* into, const char* name, const QString& title,
                   const QString& hint, QVBoxLayout** layout) {
  QGroupBox* g = Group(parent, name, title, hint, layout);
  into->addWidget(g);
  return g;
}

ValueRows::ValueRows(QWidget* parent, QBoxLayout* into)
    : parent_(parent), grid_(new QGridLayout) {
  grid_->setHorizontalSpacing(6);
  grid_->setVerticalSpacing(4);
  grid_->setColumnStretch(1, 1);
  into->addLayout(grid_);
}

QLabel* ValueRows::add(const QString& caption, QWidget* field, const QString& unit,
                       const char* captionName, const char* unitName) {
  const int row = grid_->rowCount();
  QLabel* label = Label(parent_, caption, captionName);
  label->setBuddy(field);
  grid_->addWidget(label, row, 0);
  grid_->addWidget(field, row, 1);
  if (!unit.isEmpty() || unitName != nullptr) grid_->addWidget(Label(parent_, unit, unitName), row, 2);
  return label;
}

QLineEdit* ValueRows::edit(const char* name, const QString& caption, const char* captionName,
                           const QString& unit, const char* unitName) {
  QLineEdit* field = Edit(parent_, name);
  add(caption, field, unit, captionName, unitName);
  return field;
}

QComboBox* ValueRows::list(const char* name, std::initializer_list<const char*> items,
                           const QString& caption, const char* captionName) {
  QComboBox* field = List(parent_, name, items);
  add(caption, field, {}, captionName);
  return field;
}

void ValueRows::addSpanning(QWidget* widget) { grid_->addWidget(widget, grid_->rowCount(), 0, 1, 3); }

QHBoxLayout* ButtonRow(QWidget* parent, QBoxLayout* into, std::initializer_list<ButtonSpec> buttons,
                       std::vector<QPushButton*>* made) {
  auto* row = new QHBoxLayout;
  row->setSpacing(6);
  row->addStretch(1);
  for (const ButtonSpec& entry : buttons) {
    QPushButton* b = Button(parent, entry.name, entry.text);
    if (entry.onClick) QObject::connect(b, &QPushButton::clicked, b, entry.onClick);
    row->addWidget(b);
    if (entry.slot != nullptr) *entry.slot = b;
    if (made != nullptr) made->push_back(b);
  }
  into->addLayout(row);
  return row;
}

QPushButton* LoneButton(QWidget* parent, QBoxLayout* into, const char* name, const QString& text,
                        std::function<void()> onClick) {
  QPushButton* button = nullptr;
  ButtonRow(parent, into, {{name, text, std::move(onClick), &button}});
  return button;
}

ButtonSpec Closing(QDialog* dialog, QPushButton** slot, const char* name) {
  return {name, QStringLiteral("&Close"), [dialog] { dialog->hide(); }, slot};
}

StandardButtons OkApplyClose(QDialog* dialog, QBoxLayout* into, std::function<bool()> apply,
                             const char* closeName) {
  StandardButtons b;
  ButtonRow(dialog, into,
            {{"Button_OK", QStringLiteral("&OK"),
              [dialog, apply] {
                if (apply()) dialog->hide();
              },
              &b.ok},
             {"Button_Apply", QStringLiteral("&Apply"), [apply] { apply(); }, &b.apply},
             Closing(dialog, &b.close, closeName)});
  return b;
}

void SetClose(QDialog* dialog, QBoxLayout* into, SetCloseControls& controls,
              std::function<void()> set) {
  ButtonRow(dialog, into,
            {{"Button_Set", QStringLiteral("&Set"), std::move(set), &controls.Button_Set},
             Closing(dialog, &controls.Button_Close)});
}

QPushButton* CloseButton(QDialog* dialog, QBoxLayout* into) {
  QPushButton* close = nullptr;
  ButtonRow(dialog, into, {Closing(dialog, &close)});
  return close;
}

namespace {

// The trimmed text as plain ASCII, with one leading '+' dropped (from_chars
// takes none); nothing when it is empty or holds anything beyond ASCII.
std::optional<QByteArray> NumberBytes(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  for (const QChar c : trimmed) {
    if (c.unicode() > 0x7F) return std::nullopt;
  }
  QByteArray bytes = trimmed.toLatin1();
  if (bytes.startsWith('+') && bytes.size() > 1 && bytes[1] != '-' && bytes[1] != '+') bytes.remove(0, 1);
  return bytes;
}

}  // namespace

std::optional<double> ParseReal(const QString& text) {
  const std::optional<QByteArray> bytes = NumberBytes(text);
  if (!bytes) return std::nullopt;
  // from_chars reads '.' as the decimal point whatever the process locale
  // (the application takes the operator's, where strtod would want a comma).
  const char* begin = bytes->constData();
  const char* end = begin + bytes->size();
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<long long> ParseInteger(const QString& text) {
  const std::optional<QByteArray> bytes = NumberBytes(text);
  if (!bytes) return std::nullopt;
  const char* begin = bytes->constData();
  const char* end = begin + bytes->size();
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

void FieldReader::tell(QLineEdit* edit, const QString& field, const char* what) const {
  prompts_.message(QStringLiteral("Error"),
                   QStringLiteral("%1: '%2' %3").arg(field, edit->text(), QLatin1String(what)),
                   platform::PromptButtons::Ok, platform::PromptIcon::Error);
  edit->setFocus();
  edit->selectAll();
}

void FieldReader::refuse(QLineEdit* edit, const QString& field) const {
  tell(edit, field, "is not a number");
}

void FieldReader::refuseRange(QLineEdit* edit, const QString& field, bool parsed) const {
  tell(edit, field, parsed ? "is out of range" : "is not a number");
}

std::optional<double> FieldReader::real(QLineEdit* edit, const QString& field) const {
  const std::optional<double> v = ParseReal(edit->text());
  if (!v) refuse(edit, field);
  return v;
}

std::optional<float> FieldReader::single(QLineEdit* edit, const QString& field) const {
  const std::optional<double> v = ParseReal(edit->text());
  // A value beyond the single range would arrive as infinity.
  if (!v || std::fabs(*v) > 3.4028234663852886e38) {
    refuseRange(edit, field, v.has_value());
    return std::nullopt;
  }
  return static_cast<float>(*v);
}

std::optional<int> FieldReader::integer(QLineEdit* edit, const QString& field) const {
  const std::optional<long long> v = ParseInteger(edit->text());
  if (!v || *v < INT_MIN || *v > INT_MAX) {
    refuseRange(edit, field, v.has_value());
    return std::nullopt;
  }
  return static_cast<int>(*v);
}

std::optional<long long> FieldReader::longInteger(QLineEdit* edit, const QString& field) const {
  const std::optional<long long> v = ParseInteger(edit->text());
  if (!v || *v < INT32_MIN || *v > INT32_MAX) {
    refuseRange(edit, field, v.has_value());
    return std::nullopt;
  }
  return v;
}

std::optional<unsigned long> FieldReader::unsignedInteger(QLineEdit* edit,
                                                          const QString& field) const {
  const std::optional<long long> v = ParseInteger(edit->text());
  if (!v || *v < 0 || *v > static_cast<long long>(UINT32_MAX)) {
    refuseRange(edit, field, v.has_value());
    return std::nullopt;
  }
  return static_cast<unsigned long>(*v);
}

void CheckOnly(std::initializer_list<QRadioButton*> group, QRadioButton* which) {
  for (QRadioButton* b : group) {
    if (b == nullptr || b == which) continue;
    // An exclusive button cannot be unchecked directly.
    const bool exclusive = b->autoExclusive();
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(exclusive);
  }
  if (which != nullptr) which->setChecked(true);
}

void SelectIndex(QComboBox* list, int index) {
  EnsureAccessibility();
  list->setPlaceholderText(QString());
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void ShowUnselected(QComboBox* list, const QString& text) {
  EnsureAccessibility();
  list->setCurrentIndex(-1);
  list->setPlaceholderText(text);
  // The placeholder is what the list now shows: assistive technology reads it.
  QAccessibleValueChangeEvent changed(list, text);
  QAccessible::updateAccessibility(&changed);
}

QString ShownText(const QComboBox* list) {
  return list->currentIndex() >= 0 ? list->currentText() : list->placeholderText();
}

void OnActivate(QDialog* dialog, std::function<void()> handler) {
  dialog->installEventFilter(new ActivateFilter(dialog, std::move(handler)));
}

void EnableCaption(QLabel* label, bool enabled) {
  if (label == nullptr) return;
  label->setEnabled(enabled);
  // The classic inactive-caption grey.
  const QColor colour = enabled ? label->window()->palette().color(QPalette::Active, QPalette::WindowText)
                                : QColor::fromRgb(0x80, 0x80, 0x80);
  QPalette p = label->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(g, QPalette::WindowText, colour);
  }
  label->setPalette(p);
}

}  // namespace halvix::widgets::dialog
