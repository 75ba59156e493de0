// halvix-icon: renders the program's emblem to the PNG icons the package
// installs, so the desktop icon is the very picture the windows show.
// Usage: halvix-icon OUTPUT_DIR SIDE...   writes OUTPUT_DIR/halvix-SIDE.png
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "tools/emblem.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: halvix-icon OUTPUT_DIR SIDE...\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    std::fprintf(stderr, "halvix-icon: cannot create %s\n", argv[1]);
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    const int side = std::atoi(argv[i]);
    if (side < 16 || side > 1024) {
      std::fprintf(stderr, "halvix-icon: bad size %s\n", argv[i]);
      return 2;
    }
    // A raster image needs no display, so this runs on a build machine without one.
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      halvix::tools::PaintEmblem(painter, 0, 0, side);
    }
    const QString path = out.filePath(QStringLiteral("halvix-%1.png").arg(side));
    if (!image.save(path, "PNG")) {
      std::fprintf(stderr, "halvix-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
