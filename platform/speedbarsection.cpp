#include "speedbarsection.h"

#include "speedbar.h"
#include "speeditem.h"

SpeedbarSection::SpeedbarSection(const QString &caption, SpeedBar *bar)
    : QObject(bar), m_bar(bar), m_caption(caption)
{
}

QList<SpeedItem *> SpeedbarSection::items() const
{
    return findChildren<SpeedItem *>(Qt::FindDirectChildrenOnly);
}
