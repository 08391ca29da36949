#include "instanceguard.h"

#include "application.h"
#include "x11window.h"

InstanceGuard::InstanceGuard(QObject *owner) : QObject(owner)
{
    const Application *app = Application::instance();
    const quint32 own = app ? app->applicationWindow() : 0;
    const QString ownCaption = X11Window::caption(own);
    const QByteArray ownClass = X11Window::className(own);

    int count = 0;
    quint32 found = 0;
    // The whole list is always looked through: the last other match is the one to bring
    // forward.
    for (const quint32 window : X11Window::topLevelWindows()) {
        const QByteArray className = X11Window::className(window);
        if (className.isEmpty() || className != ownClass)
            continue;
        const QString caption = X11Window::caption(window);
        if (caption.isEmpty() || caption != ownCaption)
            continue;
        ++count;
        if (window != own)
            found = window;
    }
    if (count <= 1)
        return;
    Application::requestActivation(found);
    throw AnotherInstanceRuns();
}
