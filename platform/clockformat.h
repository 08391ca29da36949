#pragma once

#include <QString>
#include <QTime>
#include <optional>

// How the status bar clock writes a time: hours with or without a leading zero, a
// separator before the minutes and the seconds, and either 24 hours or 12 hours with
// a designator. Built from a locale's items, so that any locale can be fed to it.
class ClockFormat
{
public:
    // A locale's time items as POSIX gives them; nullopt where an item cannot be read.
    struct Items
    {
        std::optional<QString> timeFormat;       // T_FMT, in strftime conversions
        std::optional<QString> twelveHourFormat; // T_FMT_AMPM, what %r stands for
        std::optional<QString> am;               // AM_STR
        std::optional<QString> pm;               // PM_STR
    };

    ClockFormat() = default;
    explicit ClockFormat(const Items &items);
    // The clock format of the process locale.
    static ClockFormat fromSystemLocale();

    bool leadingZero() const { return m_leadingZero; }
    QChar separator() const { return m_separator; }
    bool twelveHours() const { return m_twelveHours; }
    QString amDesignator() const { return m_am; }
    QString pmDesignator() const { return m_pm; }

    // The time in whole seconds; the milliseconds are dropped.
    QString format(const QTime &time) const;

private:
    bool m_leadingZero = false;
    QChar m_separator = u':';
    bool m_twelveHours = true;
    QString m_am = QStringLiteral("am");
    QString m_pm = QStringLiteral("pm");
};
