#include "fixeddialogframe.h"

#include <QScreen>
#include <QWidget>

Qt::WindowFlags FixedDialogFrame::flags(Qt::WindowType type)
{
    return type | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
           Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

void FixedDialogFrame::centreOnScreen(QWidget *window)
{
    const QRect screen = window->screen()->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(qMax(0, (screen.width() - outer.width()) / 2),
                 qMax(0, (screen.height() - outer.height()) / 2));
}
