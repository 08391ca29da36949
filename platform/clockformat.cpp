#include "clockformat.h"

#include "systemlocale.h"

namespace {

// POSIX's own meaning of %r, for a locale that leaves T_FMT_AMPM empty.
constexpr QStringView PosixTwelveHourFormat = u"%I:%M:%S %p";

struct Expansion
{
    QString format;
    bool twelveHourShorthand = false;
};

// Writes out the conversions that stand for others (%T, %R, %r), so that the hour
// conversion and what follows it can be read off the format.
Expansion expand(QStringView format, QStringView twelveHourFormat)
{
    if (twelveHourFormat.isEmpty() || twelveHourFormat.contains(u"%r"))
        twelveHourFormat = PosixTwelveHourFormat;
    Expansion result;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            result.format += format[i];
            continue;
        }
        const QChar conversion = format[++i];
        if (conversion == u'T') {
            result.format += u"%H:%M:%S";
        } else if (conversion == u'R') {
            result.format += u"%H:%M";
        } else if (conversion == u'r') {
            result.format += twelveHourFormat;
            result.twelveHourShorthand = true;
        } else {
            result.format += u'%';
            result.format += conversion;
        }
    }
    return result;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

} // namespace

ClockFormat::ClockFormat(const Items &items)
    : m_am(items.am.value_or(QStringLiteral("am"))), m_pm(items.pm.value_or(QStringLiteral("pm")))
{
    if (!items.timeFormat)
        return;
    const Expansion expansion =
        expand(*items.timeFormat, items.twelveHourFormat.value_or(QString()));
    const QString &format = expansion.format;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%')
            continue;
        // Skip glibc's padding flags, a field width and the E/O modifiers.
        qsizetype at = i + 1;
        QChar flag;
        while (at < format.size() && QStringView(u"_-0^#").contains(format[at]))
            flag = format[at++];
        while (at < format.size() && format[at].isDigit())
            ++at;
        while (at < format.size() && (format[at] == u'E' || format[at] == u'O'))
            ++at;
        if (at == format.size())
            break;
        i = at;
        const QChar conversion = format[at];
        if (!QStringView(u"HIkl").contains(conversion))
            continue;

        m_leadingZero = conversion == u'H' || conversion == u'I';
        if (flag == u'-' || flag == u'_')
            m_leadingZero = false;
        else if (flag == u'0')
            m_leadingZero = true;
        const qsizetype next = format.indexOf(u'%', at + 1);
        const QStringView between =
            QStringView(format).sliced(at + 1, (next < 0 ? format.size() : next) - at - 1);
        m_separator = between.size() == 1 ? between.front() : QChar(u':');
        m_twelveHours = conversion == u'I' || conversion == u'l' || expansion.twelveHourShorthand;
        return;
    }
}

ClockFormat ClockFormat::fromSystemLocale()
{
    return ClockFormat(Items{SystemLocale::timeFormat(), SystemLocale::twelveHourTimeFormat(),
                             SystemLocale::amDesignator(), SystemLocale::pmDesignator()});
}

QString ClockFormat::format(const QTime &time) const
{
    const int hour = time.hour();
    const int shownHour = m_twelveHours ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    QString text = m_leadingZero ? twoDigits(shownHour) : QString::number(shownHour);
    text += m_separator + twoDigits(time.minute()) + m_separator + twoDigits(time.second());
    if (m_twelveHours)
        text += u' ' + (hour < 12 ? m_am : m_pm);
    return text;
}
