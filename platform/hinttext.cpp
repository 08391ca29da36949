#include "hinttext.h"

#include "accessiblehint.h"

#include <QObject>
#include <QVariant>
#include <QWidget>

namespace {
constexpr char HintProperty[] = "morphoHint";
constexpr char ShowHintProperty[] = "morphoShowHint";
} // namespace

void HintText::set(QObject *object, const QString &hint)
{
    object->setProperty(HintProperty, hint);
    AccessibleHint::expose(object);
}

QString HintText::of(const QObject *object)
{
    return object ? object->property(HintProperty).toString() : QString();
}

QString HintText::inherited(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        QString hint = of(widget);
        if (!hint.isEmpty() || widget->isWindow())
            return hint;
    }
    return {};
}

void HintText::setShowHint(QObject *object, bool on)
{
    object->setProperty(ShowHintProperty, on);
}

bool HintText::showsHint(const QObject *object)
{
    for (; object; object = object->parent()) {
        const QVariant own = object->property(ShowHintProperty);
        if (own.isValid())
            return own.toBool();
        if (object->isWidgetType() && static_cast<const QWidget *>(object)->isWindow())
            break;
    }
    return false;
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
