#include "accessiblehint.h"

#include "accessiblemenuitem.h"
#include "hinttext.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>

namespace {

// A label is read by its text even while that is empty, so that the name follows it.
bool showsCaption(const QWidget *widget)
{
    if (qobject_cast<const QLabel *>(widget))
        return true;
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    return button && !button->text().isEmpty();
}

} // namespace

void AccessibleHint::expose(QObject *object)
{
    if (auto *widget = qobject_cast<QWidget *>(object))
        describeTree(widget);
    else if (qobject_cast<QAction *>(object))
        AccessibleMenuItem::install();
}

void AccessibleHint::describeTree(QWidget *widget)
{
    describe(widget);
    for (QObject *child : widget->children()) {
        auto *inner = qobject_cast<QWidget *>(child);
        if (inner && !inner->isWindow() && HintText::of(inner).isEmpty())
            describeTree(inner);
    }
}

void AccessibleHint::describe(QWidget *widget)
{
    const QString hint = HintText::inherited(widget);
    if (hint.isEmpty())
        return;
    const bool captioned = showsCaption(widget);
    if (!captioned)
        widget->setAccessibleName(HintText::shortPart(hint));
    QString description = HintText::longPart(hint);
    const QString own = HintText::of(widget);
    if (description.isEmpty() && captioned && !own.isEmpty())
        description = HintText::shortPart(own);
    widget->setAccessibleDescription(description);
}
