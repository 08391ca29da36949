#include "speedbarbutton.h"

#include "glyphlayout.h"
#include "speedbar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

// One pixel wide: `topLeft` along the top and left edges, `bottomRight` along the
// bottom and right edges and in the two corners they share with the others.
void drawFrame(QPainter &painter, const QRect &rect, const QColor &topLeft,
               const QColor &bottomRight)
{
    painter.fillRect(rect.left(), rect.top(), rect.width() - 1, 1, topLeft);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height() - 1, topLeft);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
}

bool applicationActive()
{
    return QApplication::activeWindow() != nullptr;
}

} // namespace

SpeedbarButton::SpeedbarButton(SpeedBar *bar) : QAbstractButton(bar), m_bar(bar)
{
    setFocusPolicy(Qt::NoFocus);
}

void SpeedbarButton::setGlyph(const QImage &image)
{
    m_glyph.setImage(image);
    updatePictures();
}

void SpeedbarButton::setNumGlyphs(int count)
{
    m_glyph.setNumGlyphs(count);
    updatePictures();
}

void SpeedbarButton::setSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

QSize SpeedbarButton::sizeHint() const
{
    const QSize picture = m_glyph.cellSize();
    const QSize caption = captionSize();
    const int spacing = picture.isEmpty() || caption.isEmpty() ? 0 : m_spacing;
    return QSize(qMax(picture.width(), caption.width()),
                 picture.height() + spacing + caption.height()) +
           QSize(2 * FrameWidth, 2 * FrameWidth);
}

QSize SpeedbarButton::captionSize() const
{
    if (text().isEmpty())
        return QSize(0, 0);
    return QSize(fontMetrics().horizontalAdvance(text()), fontMetrics().height());
}

// The pictures change only with the glyph and the palette, not with every repaint.
void SpeedbarButton::updatePictures()
{
    m_normalPicture = QPixmap::fromImage(m_glyph.cell(0));
    m_greyPicture = QPixmap::fromImage(m_glyph.greyCell(palette().color(QPalette::Dark).rgb(),
                                                        palette().color(QPalette::Button).rgb()));
    m_disabledPicture =
        m_glyph.numGlyphs() > 1 ? QPixmap::fromImage(m_glyph.cell(1)) : m_greyPicture;
    update();
}

const QPixmap &SpeedbarButton::picture(bool idle) const
{
    if (!isEnabled())
        return m_disabledPicture;
    const SpeedBar::Options options = m_bar->options();
    const bool grey = idle && options.testFlag(SpeedBar::FlatButtons) &&
                      options.testFlag(SpeedBar::GrayedButtons);
    return grey ? m_greyPicture : m_normalPicture;
}

void SpeedbarButton::paintEvent(QPaintEvent *)
{
    const SpeedBar::Options options = m_bar->options();
    const bool pressed = isDown();
    const bool hovered = !pressed && m_hovered && isEnabled();
    const bool idle = !pressed && !hovered;

    QPainter painter(this);
    if (!options.testFlag(SpeedBar::TransparentButtons))
        painter.fillRect(rect(), palette().button());
    if (pressed)
        drawFrame(painter, rect(), palette().color(QPalette::Shadow),
                  palette().color(QPalette::Light));
    else if (!idle || !options.testFlag(SpeedBar::FlatButtons))
        drawFrame(painter, rect(), palette().color(QPalette::Light),
                  palette().color(QPalette::Dark));

    QRect content = rect().adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    if (pressed)
        content.translate(1, 1);
    const QPixmap &image = picture(idle);
    const QSize caption = captionSize();
    const GlyphLayout layout =
        GlyphLayout::compute(content.size(), image.size(), caption, m_spacing);
    if (!image.isNull())
        painter.drawPixmap(content.topLeft() + layout.picture, image);
    if (!caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(content.topLeft() + layout.caption, caption),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
    }
}

void SpeedbarButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        updatePictures();
    QAbstractButton::changeEvent(event);
}

void SpeedbarButton::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    update();
}

bool SpeedbarButton::pointerInside() const
{
    return isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
}

// The raised look answers the pointer only while one of the program's windows is active.
void SpeedbarButton::enterEvent(QEnterEvent *event)
{
    if (applicationActive())
        setHovered(true);
    QAbstractButton::enterEvent(event);
}

void SpeedbarButton::leaveEvent(QEvent *event)
{
    if (!m_leftHeld)
        setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void SpeedbarButton::hideEvent(QHideEvent *event)
{
    m_leftHeld = false;
    setHovered(false);
    QAbstractButton::hideEvent(event);
}

void SpeedbarButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_leftHeld = true;
        setHovered(true);
    }
    // Other buttons go on to the bar and its window, which opens the popup menu.
    QAbstractButton::mousePressEvent(event);
}

void SpeedbarButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    m_leftHeld = false;
    // The click handler runs in here and may close or hide anything, this button too.
    const QPointer<SpeedbarButton> self(this);
    QAbstractButton::mouseReleaseEvent(event);
    if (self)
        setHovered(pointerInside() && applicationActive());
}
