#pragma once

#include <QFont>
#include <QStringList>

// Freely licensed stand-ins for the fonts the windows were designed with, at the
// designed pixel sizes: a narrow sans serif for the dialog font, so that every text
// fits the box it was designed for, and a serif for titles.
class DesignFont
{
public:
    static QFont sansSerif(int pixelSize);
    static QFont serif(int pixelSize);
};
