// What assistive technology (AT-SPI on Linux) reads from the shared widgets: a
// value panel reads as its caption (name) and the text it shows (value), and
// a drop-down list as the text it shows, its placeholder ("unknown") included.
#pragma once

class QWidget;
class QString;

namespace halvix::widgets {

// Installs the interfaces once, with the application running; the first
// value panel or list helper does it.
void EnsureAccessibility();

// The caption a value panel is read with: its accessible name if it has one,
// else the caption whose partner it is, else the caption beside it (to its
// left on the same row), else the one above it (a column title), else the
// title of the box it sits alone in, else its hint.
QString PanelCaption(const QWidget* panel);

}  // namespace halvix::widgets
