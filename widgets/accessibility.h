// What assistive technology (AT-SPI on Linux) reads from the shared widgets: a
// value panel reads as its caption (name) and the text it shows (value), and
// a drop-down list as the text it shows, its placeholder ("unknown") included.
#pragma once

class QWidget;
class QString;

namespace halvix::widgets {

// Installs the interfaces once; the first value panel does it, and so does
// the application's start.
void EnsureAccessibility();

// The caption a value panel is read with: its accessible name if it has one,
// else the caption beside it (to its left on the same row), else the one
// above it (a column title), else its hint.
QString PanelCaption(const QWidget* panel);

}  // namespace halvix::widgets
