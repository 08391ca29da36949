#include "pixelarticonengine.h"

#include "pixelart.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

PixelArtIconEngine::PixelArtIconEngine(const QImage &art) : m_art(art) {}

void PixelArtIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                               QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
    picture.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect.topLeft(), picture);
}

QPixmap PixelArtIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    QPixmap picture = QPixmap::fromImage(PixelArt::scaled(m_art, size));
    if (mode == QIcon::Normal || picture.isNull() || !qobject_cast<QApplication *>(qApp))
        return picture;
    // A disabled or selected icon looks as the style makes any icon look.
    QStyleOption option;
    option.palette = QApplication::palette();
    const QPixmap styled = QApplication::style()->generatedIconPixmap(mode, picture, &option);
    return styled.isNull() ? picture : styled;
}

QSize PixelArtIconEngine::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    return size;
}

QList<QSize> PixelArtIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    // Qt asks for each size times the screen's pixel ratio, and gets it drawn sharp.
    if (m_art.isNull())
        return {};
    return {m_art.size()};
}

QIconEngine *PixelArtIconEngine::clone() const
{
    return new PixelArtIconEngine(m_art);
}

QString PixelArtIconEngine::key() const
{
    return QStringLiteral("PixelArtIconEngine");
}

bool PixelArtIconEngine::isNull()
{
    return m_art.isNull();
}
