#include "pointerwatch.h"

#include "x11window.h"

#include <QCoreApplication>

PointerWatch::PointerWatch(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

PointerWatch::~PointerWatch()
{
    if (QCoreApplication *application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
        application->removeEventFilter(this);
    }
}

bool PointerWatch::takeChange()
{
    const bool changed = m_changed;
    m_changed = false;
    return changed;
}

bool PointerWatch::mayChangeWhatIsUnderThePointer(QEvent::Type type)
{
    switch (type) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ZOrderChange:
    case QEvent::ParentChange:
    case QEvent::ChildRemoved:
    case QEvent::WindowStateChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange:
    case QEvent::WindowBlocked:
    case QEvent::WindowUnblocked:
    case QEvent::DynamicPropertyChange: // hints and tooltip settings are kept so
        return true;
    default:
        return false;
    }
}

bool PointerWatch::eventFilter(QObject *, QEvent *event)
{
    if (!m_changed && mayChangeWhatIsUnderThePointer(event->type()))
        m_changed = true;
    return false;
}

bool PointerWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_changed && eventType == "xcb_generic_event_t" && X11Window::isPointerEvent(message))
        m_changed = true;
    return false;
}
