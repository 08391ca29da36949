#include "xdotool.h"

#include <QProcess>

bool XDoTool::run(const QStringList &arguments, int patience)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(patience) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}
