#include "buttonglyph.h"

#include <algorithm>

namespace {
constexpr QRgb Black = 0x000000;
constexpr QRgb White = 0xffffff;
constexpr QRgb Navy = 0x000080;
constexpr int DarkLimit = 384;
} // namespace

void ButtonGlyph::setImage(const QImage &image)
{
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    const int width = m_image.width();
    const int height = m_image.height();
    if (width > 0 && height > 0 && width % height == 0) {
        const int cells = width / height;
        m_numGlyphs = cells <= MaxCells ? cells : 1;
    }
}

void ButtonGlyph::setNumGlyphs(int count)
{
    m_numGlyphs = std::clamp(count, 1, int(MaxCells));
}

QSize ButtonGlyph::cellSize() const
{
    return isNull() ? QSize(0, 0) : QSize(m_image.width() / m_numGlyphs, m_image.height());
}

QColor ButtonGlyph::transparentColor() const
{
    return isNull() ? QColor() : QColor(m_image.pixel(0, m_image.height() - 1));
}

QImage ButtonGlyph::cell(int index) const
{
    const QSize size = cellSize();
    if (size.isEmpty())
        return QImage();
    if (index < 0 || index >= m_numGlyphs)
        index = 0;
    QImage cell = m_image.copy(index * size.width(), 0, size.width(), size.height())
                      .convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = transparentColor().rgb();
    for (int y = 0; y < cell.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(cell.scanLine(y));
        for (int x = 0; x < cell.width(); ++x) {
            if (line[x] == transparent)
                line[x] = 0;
        }
    }
    return cell;
}

QImage ButtonGlyph::greyCell(QRgb shadow, QRgb face) const
{
    QImage grey = cell(0);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            if (qAlpha(line[x]) != 0)
                line[x] = greyColor(line[x], shadow, face);
        }
    }
    return grey;
}

QRgb ButtonGlyph::greyColor(QRgb colour, QRgb shadow, QRgb face)
{
    const QRgb rgb = colour & RGB_MASK;
    if (rgb == Black || rgb == White)
        return colour;
    if (rgb == Navy)
        return qRgb(0, 0, 0);
    return qRed(rgb) + qGreen(rgb) + qBlue(rgb) <= DarkLimit ? shadow : face;
}
