#include "designlabel.h"

QLabel *DesignLabel::create(QWidget *parent, const QString &text, const QRect &geometry,
                            Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    return label;
}

void DesignLabel::setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
    widget->setForegroundRole(QPalette::WindowText);
}
