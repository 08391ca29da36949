#pragma once

#include <QString>

class QTemporaryDir;

// The built program copied into a test's folder, so that the settings file it keeps
// beside itself is the test's own.
class ProgramCopy
{
public:
    // The copy's path; the program is copied on the first call for a folder.
    static QString in(const QTemporaryDir &dir, const QString &program);
};
