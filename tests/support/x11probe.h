#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

// What a test needs to see of other clients' windows on the X server it runs on.
class X11Probe
{
public:
    struct Window
    {
        quint32 id = 0;
        QByteArray className;
        QString caption;
        bool mapped = false;
        QRect geometry; // in root coordinates
    };

    static QList<Window> topLevelWindows();
    // The top-level windows (or their first-level children, under a window manager)
    // with this class and caption.
    static QList<Window> find(const QByteArray &className, const QString &caption);
    // The one window of that class and caption once it is mapped; an id of 0 when there
    // is none by the time limit.
    static Window waitForMapped(const QByteArray &className, const QString &caption, int timeoutMs);
    static QSize screenSize();
    // _NET_WM_NAME, the caption that window managers show.
    static QString shownCaption(quint32 window);
    // The first image of the window's _NET_WM_ICON, the icon that task bars show.
    static QImage icon(quint32 window);
    // The pointer's shape as the X server shows it now, and its hot spot.
    struct Cursor
    {
        QImage image;
        QPoint hotSpot;
    };
    static Cursor cursor();
    // Asks a window to close, as its close box does.
    static void sendDeleteRequest(quint32 window);
    // The window that has the keyboard focus, and the one a window manager calls active.
    static quint32 inputFocus();
    static quint32 activeWindow();
};
