#pragma once

#include <QChar>
#include <QString>

// The POSIX locale of the environment, which the application object installs at
// start-up (setlocale(LC_ALL, "")). Read afresh on every call, so that a widget that
// re-reads it on QEvent::LocaleChange follows a change of the process locale.
class SystemLocale
{
public:
    // The locale's radix character, or '.' when it gives none.
    static QChar decimalSeparator();

    // The time items the clock is written with (strftime conversions and designators).
    static QString timeFormat();
    static QString twelveHourTimeFormat();
    static QString amDesignator();
    static QString pmDesignator();
};
