#pragma once

#include <QAbstractNativeEventFilter>
#include <QEvent>
#include <QObject>

// Tells whether the widget under the mouse pointer may have changed since it was last
// looked up: the pointer moved, crossed a window's edge or a button went down or up, or
// a widget or window appeared, went, moved, changed size, stacking or activation. Clock
// ticks, repaints and the like leave it alone, so that the idle work asks the X server
// where the pointer is only after something happened, and a resting program sleeps.
// The pointer's own events are taken as the X server sends them: Qt holds them back from
// a window that a modal one blocks, and the hint line follows the pointer there too.
class PointerWatch : public QObject, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit PointerWatch(QObject *parent = nullptr);
    ~PointerWatch() override;

    // True at first and once after each such event; false until the next one.
    bool takeChange();
    void markChanged() { m_changed = true; }

    static bool mayChangeWhatIsUnderThePointer(QEvent::Type type);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    bool m_changed = true;
};
