#pragma once

#include <QCursor>
#include <QPoint>
#include <QString>

// A monochrome cursor from a picture of black, white and transparent pixels.
class CursorResource
{
public:
    // The standard arrow when the picture cannot be read.
    static QCursor load(const QString &path, QPoint hotSpot);
};
