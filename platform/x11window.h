#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

#include <initializer_list>

// Small helpers on X11 top-level windows, for the program's own marks on the X server:
// window class names and captions. Every call is a no-op, or gives an empty result,
// when the program does not run on the xcb platform (as in offscreen tests).
class X11Window
{
public:
    enum { CaptionBufferSize = 256 }; // captions and class names are read with this room

    static bool available();

    // A top-level window that is never mapped, placed at the centre of the screen.
    static quint32 createHidden(const QByteArray &instanceName, const QByteArray &className,
                                const QString &caption);
    static void destroy(quint32 window);

    static void setCaption(quint32 window, const QString &caption);
    // WM_NAME, cut to CaptionBufferSize - 1 characters; empty when unreadable.
    static QString caption(quint32 window);

    static void setWindowClass(quint32 window, const QByteArray &instanceName,
                               const QByteArray &className);
    // The class part of WM_CLASS, cut like a caption; empty when unreadable.
    static QByteArray className(quint32 window);

    static void setTransientFor(quint32 window, quint32 owner);

    // One pointer query: where the pointer is on the root window, in native pixels, and
    // the top-level window (or window manager's frame) it is in, 0 for none. False when
    // the pointer is on another screen or there is no X server.
    static bool queryPointer(QPoint *rootPosition, quint32 *topLevel);
    // The child of a window at a root position (one request), 0 for none.
    static quint32 childAt(quint32 window, const QPoint &rootPosition);
    static void flush();

    // Every top-level window, bottom of the stacking order first: the root's children,
    // each followed by the client windows that a window manager has framed in it.
    static QList<quint32> topLevelWindows();

    static quint32 atom(const char *name);
    // A 32-bit client message of the given type with up to five values, delivered to the
    // window's creator.
    static void sendClientMessage(quint32 window, quint32 type,
                                  std::initializer_list<quint32> values = {});
    // Whether a native xcb event is a client message of this type sent to this window.
    static bool isClientMessage(const void *event, quint32 window, quint32 type);
    // Whether a native xcb event tells of the pointer: a motion, a button, a window's edge
    // crossed; in the core protocol or as an XInput 2 event.
    static bool isPointerEvent(const void *event);

    // Whether a running window manager activates windows on request (_NET_ACTIVE_WINDOW).
    static bool windowManagerActivates();
    // Gives a mapped window the keyboard focus at the server's current time.
    static void setInputFocus(quint32 window);
};
