#pragma once

#include <QColor>
#include <QImage>

// A button's picture: a row of equal cells side by side, cell 0 the normal image and
// cell 1, where present, the disabled one. Pixels of the transparent colour, that of
// the bottom-left pixel, are not drawn.
class ButtonGlyph
{
public:
    enum { MaxCells = 5 };

    // A square-celled image (width a whole multiple of the height) sets the number of
    // cells itself: width ÷ height when below 6, else 1.
    void setImage(const QImage &image);
    QImage image() const { return m_image; }
    void setNumGlyphs(int count);
    int numGlyphs() const { return m_numGlyphs; }

    bool isNull() const { return m_image.isNull(); }
    QSize cellSize() const;
    QColor transparentColor() const;

    // One cell with its transparent pixels cleared; cell 0 where there are fewer cells.
    QImage cell(int index) const;
    // Cell 0 in the grey tones of a button at rest.
    QImage greyCell(QRgb shadow, QRgb face) const;
    // Black, white and the transparent colour stay; navy becomes black; every other
    // colour becomes the shadow when its red + green + blue is at most 384, else the face.
    static QRgb greyColor(QRgb colour, QRgb shadow, QRgb face);

private:
    QImage m_image;
    int m_numGlyphs = 1;
};
