// Building blocks shared by the view windows: the classic small font, the
// fixed-pitch font of tabular rows, and the named captions, value panels,
// groups and buttons the windows are laid out from (fixed pixel geometry,
// objectName = the control's design name).
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>

class QPushButton;

namespace halvix::reports {

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

CaptionLabel* Caption(QWidget* parent, const QString& text, const QRect& geometry,
                      const char* name = nullptr);
ValuePanel* Panel(QWidget* parent, const char* name, const QRect& geometry);
// A raised group with a bold title at its top left.
GroupPanel* Group(QWidget* parent, const char* name, const QString& title, const QString& hint,
                  const QRect& geometry);
QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& geometry);

// "Name" + number, e.g. Panel_SV12.
QByteArray Numbered(const char* stem, int n);

}  // namespace ui
}  // namespace halvix::reports
