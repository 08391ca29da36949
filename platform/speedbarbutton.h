#pragma once

#include "buttonglyph.h"

#include <QAbstractButton>
#include <QPixmap>

class SpeedBar;

// A flat tool bar button: its picture above its caption, over the bar's own look.
// Idle it shows no frame and, on a bar with grey buttons, its picture in grey tones;
// hovered it is raised; pressed it is sunken with its content shifted by one pixel.
// It takes no focus: the bar is used with the mouse only.
class SpeedbarButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum { FrameWidth = 1 };

    explicit SpeedbarButton(SpeedBar *bar);

    void setGlyph(const QImage &image);
    void setNumGlyphs(int count);
    const ButtonGlyph &glyph() const { return m_glyph; }
    void setSpacing(int spacing);
    int spacing() const { return m_spacing; }

    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);
    bool pointerInside() const;
    QSize captionSize() const;
    void updatePictures();
    const QPixmap &picture(bool idle) const;

    SpeedBar *const m_bar;
    ButtonGlyph m_glyph;
    QPixmap m_normalPicture;
    QPixmap m_greyPicture;
    QPixmap m_disabledPicture;
    int m_spacing = 1;
    bool m_hovered = false;
    bool m_leftHeld = false;
};
