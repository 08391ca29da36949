#include "xdotool.h"

#include <QProcess>

bool XDoTool::run(const QStringList &arguments, int timeoutMs)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(timeoutMs) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

bool XDoTool::pressKeys(quint32 window, const QString &keys)
{
    return run({"windowfocus", "--sync", QString::number(window), "key", keys});
}

QList<quint32> XDoTool::shownWindows(const QString &caption)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {"search", "--onlyvisible", "--name", QStringLiteral("^%1$").arg(caption)});
    search.waitForFinished();
    QList<quint32> windows;
    for (const QByteArray &line : search.readAllStandardOutput().split('\n')) {
        bool ok = false;
        const quint32 id = line.toUInt(&ok);
        if (ok)
            windows.append(id);
    }
    return windows;
}
