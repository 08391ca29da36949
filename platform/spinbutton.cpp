#include "spinbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <array>
#include <cmath>

namespace {

constexpr int FirstRepeatDelay = 400;
constexpr int RepeatInterval = 100;

enum { ArrowSize = 6 };
using Glyph = std::array<const char *, ArrowSize>;

constexpr Glyph UpArrow = {
    "..##..", //
    ".####.", //
    "######", //
    "..##..", //
    "..##..", //
    "..##..", //
};
constexpr Glyph DownArrow = {
    "..##..", //
    "..##..", //
    "..##..", //
    "######", //
    ".####.", //
    "..##..", //
};

void paintGlyph(QPainter &painter, const Glyph &glyph, QPoint origin, const QColor &colour)
{
    for (int y = 0; y < ArrowSize; ++y) {
        for (int x = 0; x < ArrowSize; ++x) {
            if (glyph[y][x] == '#')
                painter.fillRect(origin.x() + x, origin.y() + y, 1, 1, colour);
        }
    }
}

} // namespace

SpinButton::SpinButton(QWidget *parent) : QWidget(parent), m_repeatTimer(new QTimer(this))
{
    // A click must leave the focus where it was, so that the field's exit
    // correction does not run and a focused field keeps its caret.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_repeatTimer->setTimerType(Qt::PreciseTimer);
    connect(m_repeatTimer, &QTimer::timeout, this, &SpinButton::repeatStep);
}

// The last column of row y whose pixel centre lies on or above the diagonal from the
// bottom-left to the top-right corner; -1 when there is none.
int SpinButton::upperHalfEnd(int y) const
{
    const qint64 w = width();
    const qint64 h = height();
    if (w <= 0 || h <= 0)
        return -1;
    // (2x + 1) h + (2y + 1) w <= 2 w h, solved for the largest x.
    const qint64 numerator = 2 * w * h - (2 * qint64(y) + 1) * w - h;
    return numerator < 0 ? -1 : int(qMin(numerator / (2 * h), w - 1));
}

SpinButton::Half SpinButton::halfAt(QPointF position) const
{
    const double x = std::floor(position.x());
    const double y = std::floor(position.y());
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return Half::None;
    return x <= upperHalfEnd(int(y)) ? Half::Up : Half::Down;
}

void SpinButton::requestStep()
{
    if (m_pressedHalf == Half::Up)
        emit stepUpRequested();
    else if (m_pressedHalf == Half::Down)
        emit stepDownRequested();
}

void SpinButton::mousePressEvent(QMouseEvent *event)
{
    // The right button goes on to the field and its window, which open their own menu.
    if (event->button() == Qt::RightButton) {
        event->ignore();
        return;
    }
    // Other buttons are taken here so that the field does not paste the selection.
    if (event->button() != Qt::LeftButton || m_pressedHalf != Half::None)
        return;
    const Half half = halfAt(event->position());
    if (half == Half::None)
        return;
    m_pressedHalf = half;
    m_pointerOnPressedHalf = true;
    update();
    m_repeatTimer->start(FirstRepeatDelay);
    requestStep();
}

void SpinButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressedHalf != Half::None)
        setPointerOnPressedHalf(halfAt(event->position()) == m_pressedHalf);
}

void SpinButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton)
        endPress();
}

void SpinButton::repeatStep()
{
    if (m_repeatTimer->interval() != RepeatInterval)
        m_repeatTimer->start(RepeatInterval);
    if (m_pointerOnPressedHalf)
        requestStep();
}

void SpinButton::endPress()
{
    m_repeatTimer->stop();
    if (m_pressedHalf == Half::None)
        return;
    m_pressedHalf = Half::None;
    m_pointerOnPressedHalf = false;
    update();
}

void SpinButton::setPointerOnPressedHalf(bool on)
{
    if (on == m_pointerOnPressedHalf)
        return;
    m_pointerOnPressedHalf = on;
    update();
}

// A release that may never reach us must not leave the repeats running.
bool SpinButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::EnabledChange:
        endPress();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void SpinButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    const bool pressedLook = m_pressedHalf != Half::None && m_pointerOnPressedHalf;
    paintHalf(painter, Half::Up, pressedLook && m_pressedHalf == Half::Up);
    paintHalf(painter, Half::Down, pressedLook && m_pressedHalf == Half::Down);
}

// Each half is a right triangle with a one-pixel bevel: light on the edges that face
// the top-left, dark on those that face the bottom-right, swapped while pressed.
void SpinButton::paintHalf(QPainter &painter, Half half, bool sunken) const
{
    const int w = width();
    const int h = height();
    const QColor light = palette().color(sunken ? QPalette::Dark : QPalette::Light);
    const QColor dark = palette().color(sunken ? QPalette::Light : QPalette::Dark);

    for (int y = 0; y < h; ++y) {
        const int edge = upperHalfEnd(y);
        if (half == Half::Up && edge >= 0) {
            painter.fillRect(0, y, y == 0 ? edge + 1 : 1, 1, light);
            if (y > 0)
                painter.fillRect(edge, y, 1, 1, dark);
        } else if (half == Half::Down && edge + 1 < w) {
            if (y == h - 1)
                painter.fillRect(edge + 1, y, w - edge - 1, 1, dark);
            else
                painter.fillRect(edge + 1, y, 1, 1, light);
            painter.fillRect(w - 1, y, 1, 1, dark);
        }
    }

    // Glyphs sit near the centre of their triangle, a third of the way in.
    const int inset = qMax(1, qMin(w, h) / 3 - ArrowSize / 2);
    const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);
    const QColor ink =
        isEnabled() ? QColor(Qt::black) : palette().color(QPalette::Disabled, QPalette::Dark);
    if (half == Half::Up)
        paintGlyph(painter, UpArrow, QPoint(inset, inset) + shift, ink);
    else
        paintGlyph(painter, DownArrow, QPoint(w - inset - ArrowSize, h - inset - ArrowSize) + shift,
                   ink);
}
