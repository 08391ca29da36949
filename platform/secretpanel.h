#pragma once

#include "bevelpanel.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

class QTimer;

// A lowered panel that, while active, hides its children and rolls its lines of text
// upward one pixel per tick. Each step draws the visible lines into an off-screen pixmap
// the size of the text rectangle and repaints that rectangle only, so the roll does not
// flicker; the pixmap exists only while the roll is active. The lines are laid out and
// drawn once, when the roll starts, into a strip that each step copies from, and only
// the columns that the lettering reaches are copied and repainted.
class SecretPanel : public BevelPanel
{
    Q_OBJECT

public:
    enum class TextStyle { Plain, Engraved };
    // The text keeps this margin inside the bevel, and room for an (absent) glyph above.
    enum { TextMargin = 3, GlyphRoom = 2 };

    explicit SecretPanel(QWidget *parent = nullptr);

    QStringList lines() const { return m_lines; }
    void setLines(const QStringList &lines);
    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isCycled() const { return m_cycled; }
    void setCycled(bool cycled) { m_cycled = cycled; }
    TextStyle textStyle() const { return m_textStyle; }
    void setTextStyle(TextStyle style);
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);

    bool isActive() const { return m_active; }
    // Starts or stops the roll; setting the value it already has does nothing. Throws
    // when the roll's timer cannot be started, and then stays stopped.
    void setActive(bool active);

    QRect textRect() const;
    int lineHeight() const { return m_lineHeight; }
    int offset() const { return m_offset; }
    const QPixmap &buffer() const { return m_buffer; }
    // One tick of the roll: advance, draw off screen, repaint the text rectangle.
    void scrollStep();

    // The roll's arithmetic, apart from any font.
    static int lineHeightFor(int textHeight, int externalLeading, TextStyle style);
    static int nextOffset(int offset, int lineCount, int lineHeight, bool cycled);
    static int firstLine(int offset, int lineHeight) { return offset / lineHeight; }
    static int firstLineTop(int offset, int lineHeight) { return -(offset % lineHeight); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void start();
    void stop();
    void hideChildren();
    void showChildrenAgain();
    QPixmap blankPixmap(const QSize &size) const;
    QPixmap drawnLines() const;
    QRect inkColumns() const;
    void redrawLines();
    void drawLines();
    void drawLine(QPainter &painter, const QString &text, const QRect &rect) const;

    QTimer *const m_timer;
    QStringList m_lines;
    int m_interval = 50;
    bool m_cycled = true;
    TextStyle m_textStyle = TextStyle::Plain;
    Qt::Alignment m_alignment = Qt::AlignHCenter;

    bool m_active = false;
    int m_offset = 0;
    int m_lineHeight = 1;
    QPixmap m_buffer;
    QPixmap m_lineStrip;
    QRect m_inkColumns; // in the text rectangle, its whole height
    QList<QPointer<QWidget>> m_shownChildren;
    QPointer<QWidget> m_focusBeforeRoll;
    bool m_pressed = false;
};
