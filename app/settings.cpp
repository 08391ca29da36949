#include "settings.h"

#include "error.h"

#include <QCoreApplication>

namespace {

constexpr char ProductSection[] = "Morphocalcule";
constexpr char VersionKey[] = "version";
constexpr char Version[] = "1.1";
constexpr char InformationsSection[] = "Informations";
constexpr char StatusKey[] = "status";
constexpr char PositionSection[] = "Position";
constexpr char XKey[] = "x";
constexpr char YKey[] = "y";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QString Settings::pathFor(const QString &executablePath)
{
    // "/" is this platform's folder separator: a dot in a folder name is no extension.
    for (qsizetype i = executablePath.size() - 1; i >= 0; --i) {
        const QChar c = executablePath.at(i);
        if (c == u'.')
            return executablePath.left(i) + QStringLiteral(".INI");
        if (c == u'\\' || c == u':' || c == u'/')
            break;
    }
    return executablePath + QStringLiteral(".INI");
}

QString Settings::path()
{
    return pathFor(QCoreApplication::applicationFilePath());
}

std::optional<qint32> Settings::parseInteger(QByteArrayView text)
{
    QByteArray digits = text.toByteArray();
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = '$' + digits.mid(2);
    qsizetype i = 0;
    while (i < digits.size() && digits[i] == ' ')
        ++i;

    if (i < digits.size() && digits[i] == '$') {
        if (++i == digits.size())
            return std::nullopt;
        quint64 value = 0;
        for (; i < digits.size(); ++i) {
            const int digit = hexDigit(digits[i]);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + quint64(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        // $80000000 to $FFFFFFFF are the negative numbers with the same 32 bits.
        return qint32(quint32(value));
    }

    const bool negative = i < digits.size() && digits[i] == '-';
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+'))
        ++i;
    if (i == digits.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            return std::nullopt;
        value = value * 10 + (digits[i] - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return qint32(value);
}

Settings::Stored Settings::load()
{
    Settings settings(path());
    settings.writeString(ProductSection, VersionKey, Version);
    Stored stored;
    stored.informations = settings.readBool(InformationsSection, StatusKey, true);
    stored.position.setX(settings.readInteger(PositionSection, XKey, 0));
    stored.position.setY(settings.readInteger(PositionSection, YKey, 0));
    return stored;
}

void Settings::save(const Stored &stored)
{
    Settings settings(path());
    settings.writeString(ProductSection, VersionKey, Version);
    settings.writeBool(InformationsSection, StatusKey, stored.informations);
    // Only x and y stay in this section, whatever else it held.
    settings.eraseSection(PositionSection);
    settings.writeInteger(PositionSection, XKey, stored.position.x());
    settings.writeInteger(PositionSection, YKey, stored.position.y());
}

QByteArray Settings::readString(const QByteArray &section, const QByteArray &key,
                                const QByteArray &defaultValue) const
{
    return m_file.readString(section, key, defaultValue);
}

qint32 Settings::readInteger(const QByteArray &section, const QByteArray &key,
                             qint32 defaultValue) const
{
    return parseInteger(readString(section, key, QByteArray())).value_or(defaultValue);
}

bool Settings::readBool(const QByteArray &section, const QByteArray &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void Settings::writeString(const QByteArray &section, const QByteArray &key,
                           const QByteArray &value)
{
    check(m_file.writeString(section, key, value));
}

void Settings::writeInteger(const QByteArray &section, const QByteArray &key, qint32 value)
{
    writeString(section, key, QByteArray::number(value));
}

void Settings::writeBool(const QByteArray &section, const QByteArray &key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

void Settings::eraseSection(const QByteArray &section)
{
    check(m_file.eraseSection(section));
}

void Settings::check(bool written) const
{
    if (!written)
        throw Error(QStringLiteral("Ne peut écrire dans %1").arg(fileName()), "SettingsWriteError");
}
