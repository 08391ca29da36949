#include "secretpanel.h"

#include "error.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

SecretPanel::SecretPanel(QWidget *parent)
    : BevelPanel(BevelPanel::Bevel::Lowered, parent), m_timer(new QTimer(this))
{
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &SecretPanel::scrollStep);
}

void SecretPanel::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    if (m_active)
        m_timer->setInterval(milliseconds);
}

void SecretPanel::setActive(bool active)
{
    if (active == m_active)
        return;
    if (active)
        start();
    else
        stop();
}

QRect SecretPanel::textRect() const
{
    const int margin = TextMargin + bevelWidth();
    return rect().adjusted(margin, margin + GlyphRoom, -margin, -margin);
}

int SecretPanel::lineHeightFor(int textHeight, int externalLeading, TextStyle style)
{
    // Engraved lettering is one pixel taller: its highlight lies one pixel lower.
    const int height = textHeight + externalLeading + (style == TextStyle::Engraved ? 1 : 0);
    return qMax(1, height);
}

int SecretPanel::nextOffset(int offset, int lineCount, int lineHeight, bool cycled)
{
    // The roll ends when the last line stands at the top of the text rectangle.
    const int last = qMax(0, lineCount - 1) * lineHeight;
    if (offset < last)
        return offset + 1;
    return cycled ? 0 : last;
}

void SecretPanel::start()
{
    m_active = true;
    m_offset = 0;
    const QFontMetrics metrics = fontMetrics();
    m_lineHeight = lineHeightFor(metrics.height(), metrics.leading(), m_textStyle);
    m_buffer = blankBuffer();
    m_timer->start(m_interval);
    if (!m_timer->isActive()) {
        m_active = false;
        m_timer->stop();
        m_buffer = QPixmap();
        throw Error(QStringLiteral("Pas assez de timers disponibles"));
    }
    hideChildren();
    update();
}

void SecretPanel::stop()
{
    m_active = false;
    m_offset = 0;
    m_timer->stop();
    m_buffer = QPixmap();
    showChildrenAgain();
    update();
}

// Exactly the children shown now come back at the stop; one hidden before stays hidden.
void SecretPanel::hideChildren()
{
    // Qt leaves the focus on a hidden widget when nothing else takes it, and that widget
    // would still get the keys: Enter would press a hidden default button.
    QWidget *focus = window()->focusWidget();
    m_focusBeforeRoll = isAncestorOf(focus) ? focus : nullptr;
    if (m_focusBeforeRoll)
        m_focusBeforeRoll->clearFocus();
    m_shownChildren.clear();
    const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!child->isWindow() && !child->isHidden())
            m_shownChildren.append(child);
    }
    for (const QPointer<QWidget> &child : std::as_const(m_shownChildren))
        child->hide();
}

void SecretPanel::showChildrenAgain()
{
    for (const QPointer<QWidget> &child : std::as_const(m_shownChildren)) {
        if (child)
            child->show();
    }
    m_shownChildren.clear();
    if (m_focusBeforeRoll && m_focusBeforeRoll->isVisible())
        m_focusBeforeRoll->setFocus(Qt::OtherFocusReason);
    m_focusBeforeRoll = nullptr;
}

QPixmap SecretPanel::blankBuffer() const
{
    const QSize size = textRect().size();
    if (size.isEmpty())
        return QPixmap();
    const qreal ratio = devicePixelRatioF();
    QPixmap buffer(size * ratio);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(palette().color(backgroundRole()));
    return buffer;
}

void SecretPanel::scrollStep()
{
    if (!m_active)
        return;
    m_offset = nextOffset(m_offset, int(m_lines.size()), m_lineHeight, m_cycled);
    drawLines();
    update(textRect());
}

void SecretPanel::drawLines()
{
    if (m_buffer.isNull())
        return;
    m_buffer.fill(palette().color(backgroundRole()));
    QPainter painter(&m_buffer);
    painter.setFont(font());
    const QSize size = textRect().size();
    int index = firstLine(m_offset, m_lineHeight);
    for (int top = firstLineTop(m_offset, m_lineHeight);
         top < size.height() && index < m_lines.size(); top += m_lineHeight, ++index)
        drawLine(painter, m_lines.at(index), QRect(0, top, size.width(), m_lineHeight));
}

void SecretPanel::drawLine(QPainter &painter, const QString &text, const QRect &rect) const
{
    const int flags = int(m_alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                      Qt::TextSingleLine | Qt::TextExpandTabs;
    if (m_textStyle == TextStyle::Engraved) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(rect.translated(1, 1), flags, text);
    }
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect, flags, text);
}

void SecretPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_buffer.isNull())
        painter.drawPixmap(textRect().topLeft(), m_buffer);
    paintBevel(painter);
}

void SecretPanel::resizeEvent(QResizeEvent *event)
{
    BevelPanel::resizeEvent(event);
    if (m_active) {
        m_buffer = blankBuffer();
        drawLines();
    }
}

void SecretPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    event->accept();
}

// The second press of a double click is no click of its own: a double click on the
// picture starts the roll and leaves it rolling.
void SecretPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

// A click is a left press and release both on the panel, as on a button.
void SecretPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
