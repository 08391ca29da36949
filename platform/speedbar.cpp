#include "speedbar.h"

#include "dragframe.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

SpeedBar::SpeedBar(QWidget *parent) : BevelPanel(Bevel::Lowered, parent)
{
    setFocusPolicy(Qt::NoFocus);
    Docking::setEdge(this, m_edge);
}

SpeedBar::~SpeedBar()
{
    endDrag();
}

void SpeedBar::setOptions(Options options)
{
    m_options = options;
    update();
}

void SpeedBar::setButtonSize(QSize size)
{
    m_buttonSize = size;
    placeButtons();
}

void SpeedBar::setButtonOffset(QPoint offset)
{
    m_buttonOffset = offset;
}

void SpeedBar::setWallpaper(const QPixmap &wallpaper)
{
    m_wallpaper = wallpaper;
    update();
}

QList<SpeedbarSection *> SpeedBar::sections() const
{
    return findChildren<SpeedbarSection *>(Qt::FindDirectChildrenOnly);
}

QList<SpeedItem *> SpeedBar::items() const
{
    QList<SpeedItem *> all;
    for (const SpeedbarSection *section : sections())
        all += section->items();
    return all;
}

void SpeedBar::placeButtons()
{
    for (SpeedItem *item : items())
        item->placeButton();
}

void SpeedBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintWallpaper(painter);
    paintBevel(painter);
}

// Tiles from the inside's top-left corner at natural size, clipped to the inside:
// columns 0 to inside width ÷ tile width and rows 0 to inside height ÷ tile height.
void SpeedBar::paintWallpaper(QPainter &painter) const
{
    const QRect inside = rect().adjusted(bevelWidth(), bevelWidth(), -bevelWidth(), -bevelWidth());
    const int tileWidth = m_wallpaper.width();
    const int tileHeight = m_wallpaper.height();
    if (tileWidth <= 0 || tileHeight <= 0 || inside.isEmpty())
        return;
    painter.save();
    painter.setClipRect(inside);
    for (int column = 0; column <= inside.width() / tileWidth; ++column) {
        for (int row = 0; row <= inside.height() / tileHeight; ++row)
            painter.drawPixmap(inside.left() + column * tileWidth, inside.top() + row * tileHeight,
                               m_wallpaper);
    }
    painter.restore();
}

void SpeedBar::resizeEvent(QResizeEvent *event)
{
    placeButtons();
    BevelPanel::resizeEvent(event);
}

QRect SpeedBar::dockedRect(Docking::Edge edge) const
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return geometry();
    const int thickness = Docking::isHorizontal(m_edge) ? height() : width();
    return Docking::dockedRect(edge, parent->rect(), Docking::dockedSiblings(this), geometry(),
                               thickness);
}

void SpeedBar::dockTo(Docking::Edge edge)
{
    if (edge == m_edge)
        return;
    const QRect place = dockedRect(edge);
    const bool turning = Docking::isHorizontal(edge) != Docking::isHorizontal(m_edge);
    m_edge = edge;
    Docking::setEdge(this, edge);
    if (turning)
        m_buttonSize.transpose();
    for (SpeedItem *item : items()) {
        QPoint position = turning ? item->position().transposed() : item->position();
        if (Docking::isHorizontal(edge))
            position.setY(qMax(position.y(), m_buttonOffset.y()));
        else
            position.setX(qMax(position.x(), m_buttonOffset.x()));
        item->setPosition(position);
    }
    setGeometry(place);
    placeButtons();
    raise();
}

void SpeedBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_options.testFlag(AllowDrag) || !parentWidget()) {
        event->ignore();
        return;
    }
    m_pressPosition = event->globalPosition().toPoint();
}

void SpeedBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressPosition) {
        event->ignore();
        return;
    }
    if (!m_dragging) {
        const QPoint moved = event->globalPosition().toPoint() - *m_pressPosition;
        if (qAbs(moved.x()) <= DragThreshold && qAbs(moved.y()) <= DragThreshold)
            return;
        startDrag();
        // Moves come merged: the one that starts the drag may already be over another edge.
    }
    const QWidget *parent = parentWidget();
    m_target = Docking::edgeAt(parent->mapFromGlobal(event->globalPosition()), parent->size());
    m_frame->showAt(dockedRect(m_target));
}

void SpeedBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressPosition) {
        event->ignore();
        return;
    }
    const bool dropped = m_dragging;
    endDrag();
    if (dropped)
        dockTo(m_target);
}

void SpeedBar::startDrag()
{
    m_dragging = true;
    m_target = m_edge;
    if (!m_frame)
        m_frame = new DragFrame(parentWidget());
    m_frame->showAt(geometry());
    QGuiApplication::setOverrideCursor(m_dragCursor);
    // While dragging, the bar alone answers the mouse: no other button, no popup menu.
    qApp->installEventFilter(this);
}

void SpeedBar::endDrag()
{
    m_pressPosition.reset();
    if (!m_dragging)
        return;
    m_dragging = false;
    qApp->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
    if (m_frame)
        m_frame->hide();
}

bool SpeedBar::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton;
    case QEvent::ContextMenu:
        return true;
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        // A drag that loses its window ends without a drop, so that no frame stays behind.
        if (watched == window())
            endDrag();
        return false;
    default:
        return false;
    }
}
