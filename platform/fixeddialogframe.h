#pragma once

#include <Qt>

class QWidget;

// The fixed dialog frame of the program's windows: not resizable, a system menu and a
// close box, no minimise or maximise box; and their placement centred on the screen.
class FixedDialogFrame
{
public:
    static Qt::WindowFlags flags(Qt::WindowType type);
    // Left and top are (screen - window) / 2, each raised to 0 when negative.
    static void centreOnScreen(QWidget *window);
    // Centres the window at its first showing only; from then on it stays where it is moved.
    static void centreWhenFirstShown(QWidget *window);
};
