#pragma once

#include <QWidget>

// The tooltip window: a short text on the system's tooltip colours inside a one-pixel
// frame. It never takes the focus and lets the mouse through to what lies below.
class HintBubble : public QWidget
{
    Q_OBJECT

public:
    enum { ExtraWidth = 6, ExtraHeight = 2 };

    HintBubble();

    QString text() const { return m_text; }
    // The text laid out with word wrap within the given width, plus the frame and margins.
    QSize sizeFor(const QString &text, int maximumWidth) const;
    // Shows the text with the bubble's top-left corner at the given global position,
    // moved back onto the screen where it would stick out.
    void showText(const QString &text, const QPoint &topLeft);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
