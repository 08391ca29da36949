#include "cursorresource.h"

#include <QBitmap>
#include <QImage>

QCursor CursorResource::load(const QString &path, QPoint hotSpot)
{
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return QCursor(Qt::ArrowCursor);
    // Set bits of the first bitmap are black where the mask is set, clear ones white.
    const QBitmap black =
        QBitmap::fromImage(image.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskInColor));
    const QBitmap opaque = QBitmap::fromImage(image.createAlphaMask());
    return QCursor(black, opaque, hotSpot.x(), hotSpot.y());
}
