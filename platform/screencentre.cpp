#include "screencentre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QPoint ScreenCentre::topLeft(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    return area.topLeft() + QPoint(std::max(0, (area.width() - outer.width()) / 2),
                                   std::max(0, (area.height() - outer.height()) / 2));
}
