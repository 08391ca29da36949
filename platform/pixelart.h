#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

// Our pixel art grows by whole pixels: every picture, icon and cursor is scaled by
// picking the nearest source pixel, never by blending, so its hard edges stay hard on
// screens of any pixel density.
class PixelArt
{
public:
    // The whole number of device pixels that stands for one pixel of the art.
    static int scaleFactor(qreal devicePixelRatio);
    // The factor for the densest screen of the program; 1 without a screen.
    static int screenScaleFactor();
    // The art at the given size, each pixel the nearest pixel of the art.
    static QImage scaled(const QImage &art, QSize size);
    // An icon that draws the art at any size this way; it offers the art's own size.
    static QIcon icon(const QString &path);
};
