#include "installtree.h"

#include <QDebug>
#include <QProcess>

bool InstallTree::into(const QString &prefix)
{
    QProcess install;
    install.start(QStringLiteral(MORPHO_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(MORPHO_BUILD_DIR),
                   QStringLiteral("--prefix"), prefix});
    if (install.waitForFinished(60000) && install.exitStatus() == QProcess::NormalExit &&
        install.exitCode() == 0)
        return true;
    qWarning().noquote() << install.readAllStandardOutput() << install.readAllStandardError();
    return false;
}
