#pragma once

#include <QIconEngine>
#include <QImage>

// Draws one picture of pixel art at whatever size is asked, nearest pixel first, where
// Qt's own icons would smooth it.
class PixelArtIconEngine : public QIconEngine
{
public:
    explicit PixelArtIconEngine(const QImage &art);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    const QImage m_art;
};
