#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Real X input and window searches, as a user's, through the xdotool program.
class XDoTool
{
public:
    // True when xdotool ended in time with exit code 0.
    static bool run(const QStringList &arguments, int timeoutMs = 30000);
    // Keys as xdotool names them ("Return", "alt+F4"), to the window given the focus first.
    static bool pressKeys(quint32 window, const QString &keys);
    // The shown windows of exactly that caption, framed by a window manager or not.
    static QList<quint32> shownWindows(const QString &caption);
};
