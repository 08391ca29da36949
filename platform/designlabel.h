#pragma once

#include <QLabel>

// Labels laid out from the fixed designs: plain text, top-aligned, at a fixed place.
class DesignLabel
{
public:
    static QLabel *create(QWidget *parent, const QString &text, const QRect &geometry,
                          Qt::Alignment alignment = Qt::AlignLeft);
    // The label's own text colour, also on a panel, where Qt would take the button text's.
    static void setTextColor(QWidget *widget, const QColor &color);
};
