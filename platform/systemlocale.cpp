#include "systemlocale.h"

#include <QString>
#include <langinfo.h>

QChar SystemLocale::decimalSeparator()
{
    const QString radix = QString::fromLocal8Bit(nl_langinfo(RADIXCHAR));
    return radix.isEmpty() ? QChar(u'.') : radix.front();
}
