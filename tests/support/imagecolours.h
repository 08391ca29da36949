#pragma once

#include <QImage>
#include <QSet>

// The colours a picture is made of: pixel art scaled without blending keeps its own.
class ImageColours
{
public:
    static QSet<QRgb> of(const QImage &image);
};
