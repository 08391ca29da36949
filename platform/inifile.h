#pragma once

#include <QByteArray>
#include <QString>

// A profile file: "[section]" lines, each followed by "key=value" lines. Section and
// key names match without regard to (ASCII) case; a value between single or double
// quotes reads without them. Names and values are 8-bit text, kept byte for byte.
// Nothing is cached: every call goes to the file, and every write rewrites the whole
// file through a temporary file beside it, so that a crash leaves the old file or the
// new one.
class IniFile
{
public:
    // Room of a read, the terminating zero included: a value comes back cut to one less.
    enum { ReadBufferSize = 1024 };

    explicit IniFile(const QString &fileName) : m_fileName(fileName) {}

    QString fileName() const { return m_fileName; }

    // The value of the key, or the default when the file, the section or the key is
    // missing or the file cannot be read.
    QByteArray readString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue) const;
    // Creates the file, the section or the key where missing; replaces an existing value.
    bool writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    // Removes every section of that name with all its keys.
    bool eraseSection(const QByteArray &section);

private:
    QString m_fileName;
};
