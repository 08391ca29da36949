#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Whole files as bytes, for tests that compare what was written byte for byte.
namespace FileBytes {

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool write(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(contents) == contents.size();
}

} // namespace FileBytes
