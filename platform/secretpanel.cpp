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

void SecretPanel::setLines(const QStringList &lines)
{
    m_lines = lines;
    redrawLines();
}

void SecretPanel::setTextStyle(TextStyle style)
{
    m_textStyle = style;
    redrawLines();
}

void SecretPanel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    redrawLines();
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
    m_buffer = blankPixmap(textRect().size());
    m_lineStrip = drawnLines();
    m_timer->start(m_interval);
    if (!m_timer->isActive()) {
        m_active = false;
        m_timer->stop();
        m_buffer = QPixmap();
        m_lineStrip = QPixmap();
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
    m_lineStrip = QPixmap();
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

QPixmap SecretPanel::blankPixmap(const QSize &size) const
{
    if (size.isEmpty())
        return QPixmap();
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(palette().color(backgroundRole()));
    return pixmap;
}

// Every line, one line height below the other, as each step would draw it; one more row
// below holds the last line's engraved highlight.
QPixmap SecretPanel::drawnLines() const
{
    const int width = textRect().width();
    QPixmap strip = blankPixmap(QSize(width, int(m_lines.size()) * m_lineHeight + 1));
    if (strip.isNull())
        return strip;
    QPainter painter(&strip);
    painter.setFont(font());
    for (int index = 0; index < m_lines.size(); ++index)
        drawLine(painter, m_lines.at(index), QRect(0, index * m_lineHeight, width, m_lineHeight));
    return strip;
}

void SecretPanel::redrawLines()
{
    if (!m_active)
        return;
    m_buffer = blankPixmap(textRect().size());
    m_lineStrip = drawnLines();
    drawLines();
}

void SecretPanel::scrollStep()
{
    if (!m_active)
        return;
    m_offset = nextOffset(m_offset, int(m_lines.size()), m_lineHeight, m_cycled);
    drawLines();
    update(textRect());
}

// The strip from the offset down; below the last line the text rectangle stays blank.
void SecretPanel::drawLines()
{
    if (m_buffer.isNull())
        return;
    const QSize size = textRect().size();
    const int stripHeight =
        m_lineStrip.isNull() ? 0 : int(m_lineStrip.deviceIndependentSize().height());
    const int shown = qBound(0, stripHeight - m_offset, size.height());
    const qreal ratio = m_buffer.devicePixelRatio();
    QPainter painter(&m_buffer);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (shown > 0)
        painter.drawPixmap(QRectF(0, 0, size.width(), shown), m_lineStrip,
                           QRectF(0, m_offset * ratio, size.width() * ratio, shown * ratio));
    if (shown < size.height())
        painter.fillRect(QRect(0, shown, size.width(), size.height() - shown),
                         palette().color(backgroundRole()));
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
    redrawLines();
}

void SecretPanel::changeEvent(QEvent *event)
{
    BevelPanel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        redrawLines();
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
