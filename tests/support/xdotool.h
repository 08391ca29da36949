#pragma once

#include <QStringList>

// Real input and window requests on the test's X server, as a user's, through xdotool.
class XDoTool
{
public:
    // True when xdotool ran and succeeded within the time given.
    static bool run(const QStringList &arguments, int patience = 20000);
};
