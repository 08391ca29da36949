#include "speeditem.h"

#include "hinttext.h"
#include "speedbar.h"
#include "speedbarbutton.h"
#include "speedbarsection.h"

#include <QCursor>
#include <QImage>

SpeedItem::SpeedItem(SpeedbarSection *section, const QPoint &position)
    : QObject(section), m_section(section), m_button(new SpeedbarButton(section->bar())),
      m_position(position)
{
    // Hidden until it has its place, so that it never shows anywhere else.
    m_button->hide();
    connect(m_button, &QAbstractButton::clicked, this, &SpeedItem::clicked);
    placeButton();
}

SpeedItem::~SpeedItem()
{
    delete m_button;
}

QString SpeedItem::caption() const
{
    return m_button->text();
}

void SpeedItem::setCaption(const QString &caption)
{
    m_button->setText(caption);
}

void SpeedItem::setGlyph(const QImage &glyph)
{
    m_button->setGlyph(glyph);
}

void SpeedItem::setNumGlyphs(int count)
{
    m_button->setNumGlyphs(count);
}

QString SpeedItem::hint() const
{
    return HintText::of(m_button);
}

void SpeedItem::setHint(const QString &hint)
{
    HintText::set(m_button, hint);
}

void SpeedItem::setSpacing(int spacing)
{
    m_button->setSpacing(spacing);
}

void SpeedItem::setCursor(const QCursor &cursor)
{
    m_button->setCursor(cursor);
}

void SpeedItem::setPosition(const QPoint &position)
{
    m_position = position;
    placeButton();
}

void SpeedItem::setVisible(bool visible)
{
    m_visible = visible;
    placeButton();
}

bool SpeedItem::isEnabled() const
{
    return m_button->isEnabled();
}

void SpeedItem::setEnabled(bool enabled)
{
    m_button->setEnabled(enabled);
}

void SpeedItem::placeButton()
{
    const SpeedBar *bar = m_section->bar();
    const QRect place(m_position, bar->buttonSize());
    m_button->setGeometry(place);
    m_button->setVisible(m_visible && bar->rect().intersects(place));
}
