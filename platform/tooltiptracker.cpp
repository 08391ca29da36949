#include "tooltiptracker.h"

#include "hintbubble.h"
#include "hinttext.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

TooltipTracker::TooltipTracker(QObject *parent)
    : QObject(parent), m_bubble(std::make_unique<HintBubble>())
{
    m_restTimer.setSingleShot(true);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(ShowTime);
    connect(&m_restTimer, &QTimer::timeout, this, &TooltipTracker::showBubble);
    connect(&m_showTimer, &QTimer::timeout, this, &TooltipTracker::hideBubble);
    qApp->installEventFilter(this);
}

TooltipTracker::~TooltipTracker()
{
    qApp->removeEventFilter(this);
}

void TooltipTracker::setEnabled(bool on)
{
    m_enabled = on;
    if (!on) {
        m_restTimer.stop();
        hideBubble();
        m_control = nullptr;
    }
}

int TooltipTracker::pendingDelay() const
{
    return m_restTimer.isActive() ? m_restTimer.interval() : 0;
}

QWidget *TooltipTracker::controlFor(QWidget *underMouse) const
{
    if (!m_enabled || !underMouse || !QApplication::activeWindow())
        return nullptr;
    // A window that a modal one blocks takes no input, and shows no tooltips either.
    const QWidget *modal = QApplication::activeModalWidget();
    if (modal && underMouse->window() != modal)
        return nullptr;
    for (QWidget *widget = underMouse; widget; widget = widget->parentWidget()) {
        if (HintText::showsHint(widget))
            return widget;
        if (widget->isWindow())
            break;
    }
    return nullptr;
}

void TooltipTracker::track(QWidget *underMouse)
{
    QWidget *control = controlFor(underMouse);
    // Moving inside the same control neither restarts nor shows the bubble again.
    if (control == m_control && (control || !m_bubble->isVisible()))
        return;
    const bool wasShowing = m_bubble->isVisible();
    hideBubble();
    m_restTimer.stop();
    m_control = control;
    m_underMouse = underMouse;
    if (control)
        m_restTimer.start(wasShowing ? QuickRestDelay : RestDelay);
}

void TooltipTracker::showBubble()
{
    if (!m_control || !m_underMouse)
        return;
    const QString text = HintText::shortPart(HintText::inherited(m_underMouse));
    if (text.isEmpty())
        return;
    m_bubble->showText(text,
                       m_control->mapToGlobal(QPoint(0, m_control->height() + DistanceBelow)));
    m_showTimer.start();
}

void TooltipTracker::hideBubble()
{
    m_showTimer.stop();
    m_bubble->hide();
}

bool TooltipTracker::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        // The bubble goes and stays away until the mouse moves to another control.
        m_restTimer.stop();
        hideBubble();
        break;
    default:
        break;
    }
    return false;
}
