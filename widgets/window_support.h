// Building blocks shared by the view windows: the classic small font, the
// fixed-pitch font of tabular rows, and the named captions, value panels,
// groups and buttons the windows are laid out from (fixed pixel geometry,
// objectName = the control's design name). The windows' headers take the
// control and panel classes from the declarations here.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>

#include <initializer_list>
#include <span>

class QComboBox;
class QPushButton;

namespace halvix::widgets {

class CaptionLabel;
class GroupPanel;
class ValuePanel;

namespace ui {

// The small sans-serif face of the whole program.
QFont ClassicFont(const QFont& base);
// A fixed-pitch face for rows that must line up with their column titles.
QFont FixedPitchFont();

// Fixed single border, title and close box only; the client area given.
void SetUpWindow(QDialog* window, const char* name, const QString& caption, const QSize& client);
// Centres the window on its screen the first time it is shown, as the tools'
// windows with a fixed border are placed.
void CentreOnFirstShow(QWidget* window);

CaptionLabel* Caption(QWidget* parent, const QString& text, const QRect& geometry,
                      const char* name = nullptr);
ValuePanel* Panel(QWidget* parent, const char* name, const QRect& geometry);
// A raised group with a bold title at its top left.
GroupPanel* Group(QWidget* parent, const char* name, const QString& title, const QString& hint,
                  const QRect& geometry);
QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& geometry);

// "Name" + number, e.g. Panel_SV12.
QByteArray Numbered(const char* stem, int n);

// One line of a value list: caption, the named panel (stored in *slot) and a
// unit, which may be null for none.
struct ValueRow {
  const char* caption;
  const char* name;
  ValuePanel** slot;
  const char* unit;
};
struct RowColumns {
  int top;
  int pitch;
  int captionX, captionWidth;
  int panelX, panelWidth;
  int unitX, unitWidth;
};
// Lays out the rows one under the other; each caption is named Label_ + the
// panel name without its "Panel_".
void ValueRows(QWidget* parent, std::initializer_list<ValueRow> rows, const RowColumns& columns);

// The top bar of a per-satellite window: "SV" with a 1..32 drop-down and a
// refresh button.
struct SatellitePicker {
  QComboBox* comboBox;
  QPushButton* button;
};
SatellitePicker SatellitePickerBar(QWidget* window, int clientWidth, const char* buttonName);

// Blanks the panels, so an old value never stands while a new one is asked for.
void ClearPanels(std::span<ValuePanel* const> panels);
// Shows texts[i] in panels[i]; the two have the same length.
void ShowTexts(std::span<ValuePanel* const> panels, std::span<const QString> texts);

}  // namespace ui
}  // namespace halvix::widgets
