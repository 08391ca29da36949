#include "widgetunderpointer.h"

#include "x11window.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>

namespace {

// Frames of window managers nest a client window a level or two below the root.
constexpr int MaxFrameDepth = 3;

// Qt places each screen at its native origin and scales what lies within it.
QPoint logicalFromNative(const QPoint &native, const QScreen *screen)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + (native - origin) / screen->devicePixelRatio();
}

QWidget *innermostAt(QWidget *window, const QPoint &globalPosition)
{
    QWidget *child = window->childAt(window->mapFromGlobal(globalPosition));
    return child ? child : window;
}

} // namespace

QWidget *WidgetUnderPointer::find()
{
    if (!X11Window::available()) {
        const QPoint position = QCursor::pos();
        QWidget *window = QApplication::topLevelAt(position);
        return window ? innermostAt(window, position) : nullptr;
    }
    QPoint native;
    quint32 id = 0;
    if (!X11Window::queryPointer(&native, &id))
        return nullptr;
    QWidget *window = id ? QWidget::find(id) : nullptr;
    for (int depth = 1; id && !window && depth < MaxFrameDepth; ++depth) {
        id = X11Window::childAt(id, native);
        window = id ? QWidget::find(id) : nullptr;
    }
    if (!window || !window->isWindow())
        return nullptr;
    return innermostAt(window, logicalFromNative(native, window->screen()));
}
