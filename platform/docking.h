#pragma once

#include <QList>
#include <QPointF>
#include <QRect>
#include <optional>

class QWidget;

// Controls docked to an edge of their parent share its client area: each takes its
// thickness off the room left by those docked before it, in the order top, bottom,
// left, right. A docked control carries its edge as a property, so that the others
// can see it.
class Docking
{
public:
    enum class Edge { Top, Bottom, Left, Right };

    struct Docked
    {
        Edge edge;
        QRect geometry;
    };

    static void setEdge(QWidget *widget, Edge edge);
    static std::optional<Edge> edgeOf(const QWidget *widget);
    // The widget's visible docked siblings, the widget itself left out.
    static QList<Docked> dockedSiblings(const QWidget *widget);

    static bool isHorizontal(Edge edge) { return edge == Edge::Top || edge == Edge::Bottom; }

    // The edge for a drop at `point` of a client area of `client` size: its two
    // diagonals divide the area into one triangle per edge.
    static Edge edgeAt(QPointF point, QSize client);

    // Where a control `thickness` thick, now at `current`, lies once docked to `target`:
    // the room left by the controls docked before it, cut to its thickness.
    static QRect dockedRect(Edge target, const QRect &client, const QList<Docked> &others,
                            const QRect &current, int thickness);
};
