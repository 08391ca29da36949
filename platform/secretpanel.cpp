#include "secretpanel.h"

#include "error.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QtMath>

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
    m_inkColumns = inkColumns();
    m_timer->start(m_interval);
    if (!m_timer->isActive()) {
        m_active = false;
        m_timer->stop();
        m_buffer = QPixmap();
        m_lineStrip = QPixmap();
        m_inkColumns = QRect();
        throw Error(QStringLiteral("Pas assez de timers disponibles"));
    }
    hideChildren();
    // The buffer covers the text rectangle whole: the panel paints its own background.
    setAttribute(Qt::WA_OpaquePaintEvent);
    update();
}

void SecretPanel::stop()
{
    m_active = false;
    m_offset = 0;
    m_timer->stop();
    m_buffer = QPixmap();
    m_lineStrip = QPixmap();
    m_inkColumns = QRect();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
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

// The columns where some line has lettering; elsewhere every step leaves the panel colour.
QRect SecretPanel::inkColumns() const
{
    if (m_lineStrip.isNull())
        return QRect();
    const QImage strip = m_lineStrip.toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb blank = palette().color(backgroundRole()).rgb();
    int left = strip.width();
    int right = -1;
    for (int y = 0; y < strip.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(strip.constScanLine(y));
        for (int x = 0; x < left; ++x) {
            if (row[x] != blank) {
                left = x;
                break;
            }
        }
        for (int x = strip.width() - 1; x > right; --x) {
            if (row[x] != blank) {
                right = x;
                break;
            }
        }
    }
    if (right < left)
        return QRect();
    const qreal ratio = m_lineStrip.devicePixelRatio();
    const int logicalLeft = qFloor(left / ratio);
    const int logicalRight = qCeil((right + 1) / ratio);
    return QRect(logicalLeft, 0, logicalRight - logicalLeft, textRect().height());
}

void SecretPanel::redrawLines()
{
    if (!m_active)
        return;
    m_buffer = blankPixmap(textRect().size());
    m_lineStrip = drawnLines();
    m_inkColumns = inkColumns();
    drawLines();
    update(textRect());
}

void SecretPanel::scrollStep()
{
    if (!m_active)
        return;
    m_offset = nextOffset(m_offset, int(m_lines.size()), m_lineHeight, m_cycled);
    drawLines();
    if (!m_inkColumns.isEmpty())
        repaint(m_inkColumns.translated(textRect().topLeft()));
}

// The strip from the offset down; below the last line the text rectangle stays blank.
void SecretPanel::drawLines()
{
    if (m_buffer.isNull() || m_inkColumns.isEmpty())
        return;
    const int stripHeight = int(m_lineStrip.deviceIndependentSize().height());
    const int height = m_inkColumns.height();
    const int shown = qBound(0, stripHeight - m_offset, height);
    const int left = m_inkColumns.left();
    const int width = m_inkColumns.width();
    const qreal ratio = m_buffer.devicePixelRatio();
    QPainter painter(&m_buffer);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (shown > 0)
        painter.drawPixmap(QRectF(left, 0, width, shown), m_lineStrip,
                           QRectF(left * ratio, m_offset * ratio, width * ratio, shown * ratio));
    if (shown < height)
        painter.fillRect(QRect(left, shown, width, height - shown),
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

void SecretPanel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect text = textRect();
    if (!m_buffer.isNull()) {
        for (const QRect &rect : event->region() - text)
            painter.fillRect(rect, palette().brush(backgroundRole()));
        painter.drawPixmap(text.topLeft(), m_buffer);
    }
    // A step's repaint stays inside the text rectangle, away from the bevel.
    if (!text.contains(event->rect()))
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
