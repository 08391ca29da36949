// Draws the desktop's icons from the application icon, each size by whole pixels, as
// the program draws its pixel art on dense screens.
// Usage: morpho_iconsizes ICON FOLDER SIZE... writes FOLDER/<size>x<size>/apps/morphocalcule.png.
#include "pixelart.h"

#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ICON FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const QImage art(QString::fromLocal8Bit(argv[1]));
    if (art.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString apps = QStringLiteral("%1x%1/apps").arg(size);
        if (size <= 0 || !folder.mkpath(apps) ||
            !PixelArt::scaled(art, QSize(size, size))
                 .save(folder.filePath(apps + QStringLiteral("/morphocalcule.png")), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %s icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
