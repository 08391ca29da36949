#pragma once

#include "bevelpanel.h"
#include "docking.h"

#include <QCursor>
#include <QPixmap>
#include <QPointer>
#include <optional>

class DragFrame;
class SpeedItem;
class SpeedbarSection;

// A tool bar docked to an edge of its parent: sections of items, each item a flat
// button with a picture above its caption, over a tiled wallpaper. Its background can
// be dragged to another edge of the parent; a frame shows where it will dock.
class SpeedBar : public BevelPanel
{
    Q_OBJECT

public:
    enum Option {
        AllowDrag = 0x1,
        FlatButtons = 0x2,        // no frame until hovered
        GrayedButtons = 0x4,      // a flat button at rest shows its picture in grey tones
        TransparentButtons = 0x8, // the bar's look shows through the buttons
    };
    Q_DECLARE_FLAGS(Options, Option)

    // A press on the background becomes a drag once the pointer has moved further.
    enum { DragThreshold = 4 };

    explicit SpeedBar(QWidget *parent = nullptr);
    ~SpeedBar() override;

    Options options() const { return m_options; }
    void setOptions(Options options);
    QSize buttonSize() const { return m_buttonSize; }
    void setButtonSize(QSize size);
    // The least distance of the buttons from the bar's sides: horizontal, vertical.
    QPoint buttonOffset() const { return m_buttonOffset; }
    void setButtonOffset(QPoint offset);

    QPixmap wallpaper() const { return m_wallpaper; }
    void setWallpaper(const QPixmap &wallpaper);
    void setDragCursor(const QCursor &cursor) { m_dragCursor = cursor; }

    QList<SpeedbarSection *> sections() const;
    QList<SpeedItem *> items() const;

    Docking::Edge edge() const { return m_edge; }
    // Docks the bar to `edge` of its parent: a change of orientation turns the bar and
    // its buttons' places; the bar then spans the edge's free length, in front.
    void dockTo(Docking::Edge edge);
    // Where the bar would lie docked to `edge`.
    QRect dockedRect(Docking::Edge edge) const;
    bool isDragging() const { return m_dragging; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintWallpaper(QPainter &painter) const;
    void startDrag();
    void endDrag();
    void placeButtons();

    Options m_options = Options(AllowDrag | FlatButtons | GrayedButtons | TransparentButtons);
    QSize m_buttonSize{54, 54};
    QPoint m_buttonOffset{3, 3};
    QPixmap m_wallpaper;
    QCursor m_dragCursor;
    Docking::Edge m_edge = Docking::Edge::Top;
    std::optional<QPoint> m_pressPosition; // global, while the left button is held
    bool m_dragging = false;
    Docking::Edge m_target = Docking::Edge::Top;
    QPointer<DragFrame> m_frame; // a child of the parent, which may delete it first
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SpeedBar::Options)
