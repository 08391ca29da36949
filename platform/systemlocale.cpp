#include "systemlocale.h"

#include <QStringDecoder>
#include <langinfo.h>

namespace {

// Locale items come in the locale's own character set, which need not be UTF-8.
QString item(nl_item name)
{
    const char *bytes = nl_langinfo(name);
    QStringDecoder decoder(nl_langinfo(CODESET));
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

} // namespace

QChar SystemLocale::decimalSeparator()
{
    const QString radix = item(RADIXCHAR);
    return radix.isEmpty() ? QChar(u'.') : radix.front();
}

QString SystemLocale::timeFormat()
{
    return item(T_FMT);
}

QString SystemLocale::twelveHourTimeFormat()
{
    return item(T_FMT_AMPM);
}

QString SystemLocale::amDesignator()
{
    return item(AM_STR);
}

QString SystemLocale::pmDesignator()
{
    return item(PM_STR);
}
