#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

class HintBubble;
class QWidget;

// Our own tooltips. Told after every event which widget the mouse is over, it shows
// the short part of that widget's hint in a bubble once the mouse has rested on the
// tooltip's control, and hides it again after a while, when the mouse moves to another
// control, or at any key press or mouse click. The control is the widget under the
// mouse or the nearest enclosing one whose tooltip setting is on (HintText::showsHint);
// bubbles show only while a window of the program is active.
class TooltipTracker : public QObject
{
    Q_OBJECT

public:
    enum {
        RestDelay = 500,     // rest on a control before its bubble shows
        QuickRestDelay = 50, // the same when a bubble was showing just before
        ShowTime = 2500,     // how long a bubble stays
        DistanceBelow = 6,   // from the control's bottom edge to the bubble
    };

    explicit TooltipTracker(QObject *parent = nullptr);
    ~TooltipTracker() override;

    // The tooltip switch: off hides a showing bubble at once and shows no more.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    // The widget under the mouse now, or null.
    void track(QWidget *underMouse);

    HintBubble *bubble() const { return m_bubble.get(); }
    QWidget *control() const { return m_control; }
    // The wait before the pending bubble shows; 0 when none is pending.
    int pendingDelay() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *controlFor(QWidget *underMouse) const;
    void showBubble();
    void hideBubble();

    const std::unique_ptr<HintBubble> m_bubble;
    QTimer m_restTimer;
    QTimer m_showTimer;
    QPointer<QWidget> m_control;
    QPointer<QWidget> m_underMouse;
    bool m_enabled = true;
};
