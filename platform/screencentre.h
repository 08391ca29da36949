#pragma once

#include <QPoint>

class QWidget;

// Where a window stands centred on its screen: half of what the screen leaves on
// each side, never less than 0, for the window's outer size (frame included).
class ScreenCentre
{
public:
    static QPoint topLeft(const QWidget *window);
};
