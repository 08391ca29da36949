#pragma once

#include <QObject>
#include <QString>

class Application;
class PointerWatch;
class TooltipTracker;

// The application's idle work: whenever the queue has emptied, the hint under the mouse
// (or, while a popup menu is open, that of its highlighted item) becomes the
// application's hint, and the tooltips learn what the mouse is over. What lies under the
// mouse is looked up again only when an event may have changed it since the last idle.
class HintTracker : public QObject
{
    Q_OBJECT

public:
    explicit HintTracker(Application *application);

private:
    void update();

    Application *const m_application;
    TooltipTracker *const m_tooltips;
    PointerWatch *const m_pointer;
    QString m_lastHint;
    QString m_lastLongPart;
    bool m_menuShown = false;
};
