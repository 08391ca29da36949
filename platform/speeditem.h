#pragma once

#include "speedbarbutton.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class QCursor;
class QImage;
class SpeedbarSection;

// One command of a tool bar: it owns the button that shows it on the bar and passes
// its settings on to it. Its place is in the bar's current orientation; a button whose
// place lies outside the bar is not shown.
class SpeedItem : public QObject
{
    Q_OBJECT

public:
    SpeedItem(SpeedbarSection *section, const QPoint &position);
    ~SpeedItem() override;

    SpeedbarSection *section() const { return m_section; }
    SpeedbarButton *button() const { return m_button; }

    QString caption() const;
    void setCaption(const QString &caption);
    void setGlyph(const QImage &glyph);
    void setNumGlyphs(int count);
    // "short part|long part": the short part for the tooltip, the long one for the hint line.
    QString hint() const;
    void setHint(const QString &hint);
    void setSpacing(int spacing);
    void setCursor(const QCursor &cursor);

    QPoint position() const { return m_position; }
    void setPosition(const QPoint &position);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    bool isEnabled() const;
    void setEnabled(bool enabled);

    // Places the button and shows it when the item is visible and its place on the bar.
    void placeButton();

signals:
    void clicked();

private:
    SpeedbarSection *const m_section;
    const QPointer<SpeedbarButton> m_button;
    QPoint m_position;
    bool m_visible = true;
};
