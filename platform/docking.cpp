#include "docking.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr char EdgeProperty[] = "morphoDockEdge";

// How far a rectangle lies from an edge of the client area.
int distanceFrom(Docking::Edge edge, const QRect &client, const QRect &rect)
{
    switch (edge) {
    case Docking::Edge::Top:
        return rect.top() - client.top();
    case Docking::Edge::Bottom:
        return client.bottom() - rect.bottom();
    case Docking::Edge::Left:
        return rect.left() - client.left();
    case Docking::Edge::Right:
        return client.right() - rect.right();
    }
    return 0;
}

} // namespace

void Docking::setEdge(QWidget *widget, Edge edge)
{
    widget->setProperty(EdgeProperty, int(edge));
}

std::optional<Docking::Edge> Docking::edgeOf(const QWidget *widget)
{
    const QVariant edge = widget->property(EdgeProperty);
    if (!edge.isValid())
        return std::nullopt;
    return Edge(edge.toInt());
}

QList<Docking::Docked> Docking::dockedSiblings(const QWidget *widget)
{
    QList<Docked> docked;
    const QWidget *parent = widget->parentWidget();
    if (!parent)
        return docked;
    for (const QObject *child : parent->children()) {
        if (child == widget || !child->isWidgetType())
            continue;
        const auto *sibling = static_cast<const QWidget *>(child);
        if (const std::optional<Edge> edge = edgeOf(sibling); edge && sibling->isVisibleTo(parent))
            docked.append({*edge, sibling->geometry()});
    }
    return docked;
}

Docking::Edge Docking::edgeAt(QPointF point, QSize client)
{
    const double w = client.width();
    const double h = client.height();
    if (w <= 0 || h <= 0)
        return Edge::Top;
    const bool belowMainDiagonal = point.y() > h / w * point.x();
    const bool aboveOtherDiagonal = point.y() < h * (1 - point.x() / w);
    if (belowMainDiagonal)
        return aboveOtherDiagonal ? Edge::Left : Edge::Bottom;
    return aboveOtherDiagonal ? Edge::Top : Edge::Right;
}

QRect Docking::dockedRect(Edge target, const QRect &client, const QList<Docked> &others,
                          const QRect &current, int thickness)
{
    QRect room = client;
    for (const Docked &other : others) {
        const bool before = int(other.edge) < int(target);
        const bool outside = other.edge == target && distanceFrom(target, client, other.geometry) <
                                                         distanceFrom(target, client, current);
        if (!before && !outside)
            continue;
        switch (other.edge) {
        case Edge::Top:
            room.setTop(room.top() + other.geometry.height());
            break;
        case Edge::Bottom:
            room.setBottom(room.bottom() - other.geometry.height());
            break;
        case Edge::Left:
            room.setLeft(room.left() + other.geometry.width());
            break;
        case Edge::Right:
            room.setRight(room.right() - other.geometry.width());
            break;
        }
    }
    switch (target) {
    case Edge::Top:
        room.setHeight(thickness);
        break;
    case Edge::Bottom:
        room.setTop(room.bottom() + 1 - thickness);
        break;
    case Edge::Left:
        room.setWidth(thickness);
        break;
    case Edge::Right:
        room.setLeft(room.right() + 1 - thickness);
        break;
    }
    return room;
}
