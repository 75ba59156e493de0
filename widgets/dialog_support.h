// Building blocks shared by the configuration dialogs: the window set-up,
// named controls, caption/field/unit rows, titled groups, the button row of
// "&OK"/"&Apply"/"&Close", number fields that refuse text that is not a
// number, and the activation hook that sends a dialog's queries each time it
// becomes the active window. Everything is laid out with Qt layouts, so the
// dialogs grow with their captions at any font size; the window then keeps
// the size its layout asks for. The dialogs' headers take the Qt control
// classes and the operator prompts from the declarations here.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace halvix::platform {
class OperatorPrompts;
}

namespace halvix::widgets::dialog {

// objectName, caption, the program's small font, title bar with a close box
// only, and an optional hint (tool tip). Returns the window's top-level
// layout; the window's size follows it and cannot be dragged.
QVBoxLayout* SetUpDialog(QDialog* dialog, const char* name, const QString& caption,
                         const QString& hint = {});

// Named controls. A null name leaves the objectName empty.
QLabel* Label(QWidget* parent, const QString& text, const char* name = nullptr);
QLineEdit* Edit(QWidget* parent, const char* name, const QString& text = {},
                const QString& hint = {});
// A drop-down list (no typing) with no selection until a report or the
// operator picks one.
QComboBox* List(QWidget* parent, const char* name, std::initializer_list<const char*> items);
QCheckBox* Check(QWidget* parent, const char* name, const QString& caption);
QRadioButton* Radio(QWidget* parent, const char* name, const QString& caption);
QPushButton* Button(QWidget* parent, const char* name, const QString& text);

// Named radio buttons or check boxes one under another in the layout into,
// each kept in its slot.
template <typename Box>
struct BoxSpec {
  const char* name;
  QString caption;
  Box** slot;
};
void RadioColumn(QWidget* parent, QBoxLayout* into,
                 std::initializer_list<BoxSpec<QRadioButton>> radios);
void CheckColumn(QWidget* parent, QBoxLayout* into,
                 std::initializer_list<BoxSpec<QCheckBox>> boxes);

// A titled frame with its hint; its own layout
// is a QVBoxLayout, returned through *layout when asked for.
QGroupBox* Group(QWidget* parent, const char* name, const QString& title,
                 const QString& hint = {}, QVBoxLayout** layout = nullptr);

// The same group, added to the layout into at once.
QGroupBox* Section(QWidget* parent, QBoxLayout* into, const char* name, const QString& title,
                   const QString& hint, QVBoxLayout** layout);

// Rows of caption | field | unit, the columns aligned across the rows.
class ValueRows {
 public:
  // Adds the grid to the given layout.
  ValueRows(QWidget* parent, QBoxLayout* into);

  // Caption label named captionName (when given), the field, then a unit
  // label named unitName (when given; an empty unit adds no label).
  // Returns the caption label.
  QLabel* add(const QString& caption, QWidget* field, const QString& unit = {},
              const char* captionName = nullptr, const char* unitName = nullptr);
  // A named field made for a row of its own; returns the field.
  QLineEdit* edit(const char* name, const QString& caption, const char* captionName,
                  const QString& unit = {}, const char* unitName = nullptr);
  QComboBox* list(const char* name, std::initializer_list<const char*> items,
                  const QString& caption, const char* captionName);
  // A widget across all three columns (a note, a check box).
  void addSpanning(QWidget* widget);
  QGridLayout* grid() const { return grid_; }

 private:
  QWidget* parent_;
  QGridLayout* grid_;
};

// One button of a button row. onClick runs on click(); the button is kept
// in *slot when a slot is given.
struct ButtonSpec {
  const char* name;
  QString text;
  std::function<void()> onClick;
  QPushButton** slot = nullptr;
};
// A row of buttons pushed to the right, added to the given layout; the
// buttons are also appended to *made when asked for.
QHBoxLayout* ButtonRow(QWidget* parent, QBoxLayout* into, std::initializer_list<ButtonSpec> buttons,
                       std::vector<QPushButton*>* made = nullptr);
// A row of one button, pushed to the right; returns the button.
QPushButton* LoneButton(QWidget* parent, QBoxLayout* into, const char* name, const QString& text,
                        std::function<void()> onClick);
// A "&Close" button for a row: it hides the dialog and sends nothing.
ButtonSpec Closing(QDialog* dialog, QPushButton** slot, const char* name = "Button_Close");

// The standard ending of a dialog: "&OK" (apply, then hide when the apply
// went through), "&Apply" and "&Close" (hide without sending), named
// Button_OK, Button_Apply and closeName. apply returns false when it
// refused to send.
struct StandardButtons {
  QPushButton* ok = nullptr;
  QPushButton* apply = nullptr;
  QPushButton* close = nullptr;
};
StandardButtons OkApplyClose(QDialog* dialog, QBoxLayout* into, std::function<bool()> apply,
                             const char* closeName = "Button_Close");

// An apply that returns nothing always goes through.
template <typename Apply>
std::function<bool()> Applying(Apply apply) {
  if constexpr (std::is_void_v<std::invoke_result_t<Apply&>>) {
    return [apply]() mutable {
      apply();
      return true;
    };
  } else {
    return apply;
  }
}

// The ending's buttons as a dialog's controls hold them: the dialog's
// Controls derive from this.
struct OkApplyCloseControls {
  QPushButton* Button_OK = nullptr;
  QPushButton* Button_Apply = nullptr;
  QPushButton* Button_Close = nullptr;
};
template <typename Apply>
void OkApplyClose(QDialog* dialog, QBoxLayout* into, OkApplyCloseControls& controls, Apply apply) {
  const StandardButtons b = OkApplyClose(dialog, into, Applying(std::move(apply)));
  controls.Button_OK = b.ok;
  controls.Button_Apply = b.apply;
  controls.Button_Close = b.close;
}

// The ending of a dialog that sends one setting: "&Set" (Button_Set) runs
// set and leaves the dialog open, "&Close" (Button_Close) hides it. The
// dialog's Controls derive from SetCloseControls.
struct SetCloseControls {
  QPushButton* Button_Set = nullptr;
  QPushButton* Button_Close = nullptr;
};
void SetClose(QDialog* dialog, QBoxLayout* into, SetCloseControls& controls,
              std::function<void()> set);
// A lone "&Close" button (Button_Close) that hides the dialog.
QPushButton* CloseButton(QDialog* dialog, QBoxLayout* into);

// Number fields. Each reads the whole text (spaces around it allowed) and
// refuses anything else: the operator is told "<field>: '<text>' is not a
// number" (or "... is out of range" for a number the field's type cannot
// hold) in an "Error" box, the focus goes back to the field and the caller
// sends nothing.
class FieldReader {
 public:
  explicit FieldReader(platform::OperatorPrompts& prompts) : prompts_(prompts) {}

  std::optional<double> real(QLineEdit* edit, const QString& field) const;
  std::optional<float> single(QLineEdit* edit, const QString& field) const;
  std::optional<int> integer(QLineEdit* edit, const QString& field) const;
  std::optional<long long> longInteger(QLineEdit* edit, const QString& field) const;  // 32-bit signed
  std::optional<unsigned long> unsignedInteger(QLineEdit* edit, const QString& field) const;

  // Tells the operator and puts the focus back; for callers with their own parse.
  void refuse(QLineEdit* edit, const QString& field) const;

 private:
  void tell(QLineEdit* edit, const QString& field, const char* what) const;
  void refuseRange(QLineEdit* edit, const QString& field, bool parsed) const;
  platform::OperatorPrompts& prompts_;
};

// Parses without telling anyone: the whole trimmed text or nothing. Numbers
// read the same whatever the operator's locale: '.' is the decimal point and
// a comma is refused, never taken as a separator of any kind.
std::optional<double> ParseReal(const QString& text);
std::optional<long long> ParseInteger(const QString& text);

// Selection helpers the report decoders use, so that a report sets a
// control as the operator would (toggled handlers run).
// Checks which (null: none) and unchecks the rest of an exclusive group.
void CheckOnly(std::initializer_list<QRadioButton*> group, QRadioButton* which);
// Selects an item; an index outside the list selects nothing.
void SelectIndex(QComboBox* list, int index);
// No selection, and the list shows text (e.g. "unknown") in its place.
void ShowUnselected(QComboBox* list, const QString& text);
// What a list shows: the selected item, or the text shown in its place.
QString ShownText(const QComboBox* list);

// Enables or disables a caption, greying its text to the inactive-caption
// colour while disabled (the window's text colour otherwise).
void EnableCaption(QLabel* label, bool enabled);

// Runs handler each time the dialog becomes the active window (FormActivate).
// A handler that waits cannot be re-entered by a nested activation.
void OnActivate(QDialog* dialog, std::function<void()> handler);

}  // namespace halvix::widgets::dialog
