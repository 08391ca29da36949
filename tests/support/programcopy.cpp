#include "programcopy.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

QString ProgramCopy::in(const QTemporaryDir &dir, const QString &program)
{
    const QString path = dir.filePath(QFileInfo(program).fileName());
    if (!QFile::exists(path))
        QFile::copy(program, path);
    return path;
}
