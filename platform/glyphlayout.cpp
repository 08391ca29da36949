#include "glyphlayout.h"

GlyphLayout GlyphLayout::compute(QSize content, QSize picture, QSize caption, int spacing)
{
    if (picture.isEmpty() || caption.isEmpty())
        spacing = 0;
    if (picture.isEmpty())
        picture = QSize(0, 0);
    if (caption.isEmpty())
        caption = QSize(0, 0);
    const int blockHeight = picture.height() + spacing + caption.height();
    const int top = content.height() / 2 - blockHeight / 2;
    GlyphLayout layout;
    layout.picture = QPoint(content.width() / 2 - picture.width() / 2, top);
    layout.caption =
        QPoint(content.width() / 2 - caption.width() / 2, top + picture.height() + spacing);
    return layout;
}
