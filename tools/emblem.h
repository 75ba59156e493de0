// The program's picture: a satellite sending its signal down to a clock face.
// Drawn in code, so it scales without loss; the About box, the splash and the
// window icon all use it.
#pragma once

#include <QIcon>
#include <QPixmap>

class QPainter;

namespace halvix::tools {

// Paints the emblem into the square of the given side at (x, y).
void PaintEmblem(QPainter& painter, double x, double y, double side);
// The emblem on a transparent square pixmap.
QPixmap DrawEmblem(int side);
// The window icon, in the usual sizes.
QIcon EmblemIcon();

}  // namespace halvix::tools
