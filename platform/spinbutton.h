#pragma once

#include <QWidget>

class QTimer;

// The square arrow button inside the right end of a SpinEdit. The square is split
// along its diagonal from the bottom-left to the top-right corner: the upper-left
// triangle (diagonal included) steps up, the lower-right one steps down. Holding the
// left button repeats the step while the pointer stays over the pressed half.
class SpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit SpinButton(QWidget *parent = nullptr);

signals:
    void stepUpRequested();
    void stepDownRequested();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class Half { None, Up, Down };

    int upperHalfEnd(int y) const;
    Half halfAt(QPointF position) const;
    void requestStep();
    void repeatStep();
    void endPress();
    void setPointerOnPressedHalf(bool on);
    void paintHalf(QPainter &painter, Half half, bool sunken) const;

    QTimer *const m_repeatTimer;
    Half m_pressedHalf = Half::None;
    bool m_pointerOnPressedHalf = false;
};
