#pragma once

#include <QChar>

// The POSIX locale of the environment, which the application object installs at
// start-up (setlocale(LC_ALL, "")). Read afresh on every call, so that a widget that
// re-reads it on QEvent::LocaleChange follows a change of the process locale.
class SystemLocale
{
public:
    // The locale's radix character, or '.' when it gives none.
    static QChar decimalSeparator();
};
