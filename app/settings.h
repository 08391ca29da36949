#pragma once

#include "inifile.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <optional>

// The settings file beside the executable: its name, the reading rules for integers
// and yes/no values, and the program's load and save. Each operation opens the file
// for itself and keeps nothing; a write that fails raises "Ne peut écrire dans" with
// the file's full path.
class Settings
{
public:
    // What the load gives the main window and the save takes from it.
    struct Stored
    {
        bool informations = true;
        QPoint position;
    };

    // The executable's path with its extension replaced by ".INI", or ".INI" appended.
    static QString pathFor(const QString &executablePath);
    static QString path();
    // Decimal, or hexadecimal after "$" or "0x", in 32 bits; nothing when unreadable.
    static std::optional<qint32> parseInteger(QByteArrayView text);

    // Stamps the version, then reads the tooltip switch (on when missing or unreadable,
    // the designed state) and the position (0, 0 when missing).
    static Stored load();
    static void save(const Stored &stored);

    explicit Settings(const QString &fileName) : m_file(fileName) {}

    QString fileName() const { return m_file.fileName(); }
    QByteArray readString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue) const;
    qint32 readInteger(const QByteArray &section, const QByteArray &key, qint32 defaultValue) const;
    bool readBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const;
    void writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    void writeInteger(const QByteArray &section, const QByteArray &key, qint32 value);
    void writeBool(const QByteArray &section, const QByteArray &key, bool value);
    void eraseSection(const QByteArray &section);

private:
    void check(bool written) const;

    IniFile m_file;
};
