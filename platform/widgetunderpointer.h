#pragma once

class QWidget;

// The innermost widget of this program's windows under the mouse pointer, labels
// included; none when the pointer is over no window of the program. Cheap enough to
// run after every event: on X11 one pointer query, and under a window manager one more
// request to look inside the frame.
class WidgetUnderPointer
{
public:
    static QWidget *find();
};
