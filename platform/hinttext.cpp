#include "hinttext.h"

#include <QObject>
#include <QVariant>

namespace {
constexpr char HintProperty[] = "morphoHint";
}

void HintText::set(QObject *object, const QString &hint)
{
    object->setProperty(HintProperty, hint);
}

QString HintText::of(const QObject *object)
{
    return object ? object->property(HintProperty).toString() : QString();
}

QString HintText::shortPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString HintText::longPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}
