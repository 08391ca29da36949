#include "bevelpanel.h"

#include <QPainter>
#include <qdrawutil.h>

BevelPanel::BevelPanel(Bevel bevel, QWidget *parent) : QWidget(parent), m_bevel(bevel)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBevel(painter);
}

void BevelPanel::paintBevel(QPainter &painter) const
{
    if (m_bevel == Bevel::None)
        return;
    qDrawShadePanel(&painter, rect(), palette(), m_bevel == Bevel::Lowered, 1);
}
