#include "helpcontext.h"

#include <QAction>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace {
constexpr char HelpContextProperty[] = "morphoHelpContext";
} // namespace

void HelpContext::set(QObject *object, int context)
{
    object->setProperty(HelpContextProperty, context);
}

int HelpContext::of(const QObject *object)
{
    return object ? object->property(HelpContextProperty).toInt() : 0;
}

int HelpContext::forWidget(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (const int context = of(widget))
            return context;
        if (widget->isWindow())
            break;
    }
    return 0;
}

int HelpContext::forMenuItem(const QMenu *menu, const QAction *item)
{
    int context = of(item);
    while (context == 0 && menu) {
        context = of(menu->menuAction());
        menu = qobject_cast<const QMenu *>(menu->parentWidget());
    }
    return context;
}
