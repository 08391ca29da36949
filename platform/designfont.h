#pragma once

#include <QFont>

// Freely licensed stand-ins for the fonts the windows were designed with, at the
// designed pixel sizes: a narrow sans serif for the dialog font, a serif for titles.
class DesignFont
{
public:
    static QFont sansSerif(int pixelSize);
    static QFont serif(int pixelSize);
};
