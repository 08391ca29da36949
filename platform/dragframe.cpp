#include "dragframe.h"

#include <QPainter>
#include <QPolygon>

DragFrame::DragFrame(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void DragFrame::showAt(const QRect &rect)
{
    if (isVisible() && geometry() == rect)
        return;
    setGeometry(rect);
    raise();
    show();
}

void DragFrame::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    // The dots keep their places in the parent wherever the frame moves.
    const int phase = x() + y();
    QPolygon dots;
    for (int y = 0; y < h; ++y) {
        const bool edgeRow = y < Rings || y >= h - Rings;
        for (int x = 0; x < w; ++x) {
            if (!edgeRow && x == Rings && w - Rings > x)
                x = w - Rings;
            if (((x + y + phase) & 1) == 0)
                dots.append(QPoint(x, y));
        }
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(Qt::black);
    painter.drawPoints(dots);
}
