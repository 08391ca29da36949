#pragma once

#include <QPoint>
#include <QSize>

// A button's picture above its caption, centred in its content rectangle, with halves
// rounded toward zero. The spacing between them counts only when both are there.
struct GlyphLayout
{
    QPoint picture;
    QPoint caption;

    static GlyphLayout compute(QSize content, QSize picture, QSize caption, int spacing);
};
