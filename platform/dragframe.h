#pragma once

#include <QWidget>

// The frame that shows where a dragged bar will dock: three nested dotted frames,
// each pixel of them the inverse of what lies under it. It sits over its parent's
// other children and lets the mouse through; hiding or moving it leaves nothing behind.
class DragFrame : public QWidget
{
    Q_OBJECT

public:
    enum { Rings = 3 };

    explicit DragFrame(QWidget *parent);

    void showAt(const QRect &rect);

protected:
    void paintEvent(QPaintEvent *event) override;
};
