#include "stretchedimage.h"

#include <QPainter>

StretchedImage::StretchedImage(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void StretchedImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void StretchedImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(rect(), m_picture);
}
