#pragma once

class QAction;
class QMenu;
class QObject;
class QWidget;

// The help context of a widget, window or menu item: the number of the help topic that
// F1 asks for there. Kept as a dynamic property, 0 where nothing is set.
class HelpContext
{
public:
    static void set(QObject *object, int context);
    static int of(const QObject *object);

    // F1 over a window: the first context that is not 0, from the widget outwards up
    // to its window; 0 when there is none.
    static int forWidget(const QWidget *widget);
    // F1 on a highlighted menu item: the item's context or, when that is 0, that of
    // the items that open the menus around it.
    static int forMenuItem(const QMenu *menu, const QAction *item);
};
