#include "designfont.h"

namespace {

QFont fontOf(const QStringList &families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

QFont DesignFont::sansSerif(int pixelSize)
{
    return fontOf(QStringList{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans")}, pixelSize);
}

QFont DesignFont::serif(int pixelSize)
{
    return fontOf(QStringList{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")}, pixelSize);
}
