#include "pixelart.h"

#include "pixelarticonengine.h"

#include <QGuiApplication>
#include <cmath>

int PixelArt::scaleFactor(qreal devicePixelRatio)
{
    return std::max(1, int(std::lround(devicePixelRatio)));
}

int PixelArt::screenScaleFactor()
{
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return application ? scaleFactor(application->devicePixelRatio()) : 1;
}

QImage PixelArt::scaled(const QImage &art, QSize size)
{
    if (art.isNull() || size.isEmpty())
        return QImage();
    const QImage source = art.convertToFormat(QImage::Format_ARGB32);
    if (size == source.size())
        return source;
    QImage result(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(
            source.constScanLine(y * source.height() / size.height()));
        auto *to = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            to[x] = from[x * source.width() / size.width()];
    }
    return result;
}

QIcon PixelArt::icon(const QString &path)
{
    return QIcon(new PixelArtIconEngine(QImage(path)));
}
