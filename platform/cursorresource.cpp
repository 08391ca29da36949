#include "cursorresource.h"

#include "pixelart.h"

#include <QBitmap>
#include <QImage>

namespace {

// Bit 1 is Qt::color1, the set pixel of a bitmap.
QImage emptyBitmapImage(QSize size)
{
    QImage bits(size, QImage::Format_MonoLSB);
    bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bits.fill(0);
    return bits;
}

} // namespace

QCursor CursorResource::load(const QString &path, QPoint hotSpot)
{
    QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return QCursor(Qt::ArrowCursor);
    // X takes a bitmap cursor at its size in device pixels: on a denser screen it is
    // drawn larger here, hot spot and all.
    const int factor = PixelArt::screenScaleFactor();
    image = PixelArt::scaled(image, image.size() * factor);
    hotSpot *= factor;
    // Where the mask is set, a set bitmap bit is black and a clear one white.
    QImage black = emptyBitmapImage(image.size());
    QImage opaque = emptyBitmapImage(image.size());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            opaque.setPixel(x, y, 1);
            if ((pixel & RGB_MASK) == 0)
                black.setPixel(x, y, 1);
        }
    }
    return QCursor(QBitmap::fromImage(black), QBitmap::fromImage(opaque), hotSpot.x(), hotSpot.y());
}
