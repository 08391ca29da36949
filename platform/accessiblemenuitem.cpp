#include "accessiblemenuitem.h"

#include "hinttext.h"

#include <QAction>
#include <QMenu>

namespace {

// The caption as read aloud: "&Calculer" is "Calculer", "&&" a single "&".
QString withoutMnemonic(const QString &caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

// The letter that chooses the item while the menu is open.
QString mnemonic(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toUpper();
        ++i;
    }
    return QString();
}

QMenu *menuOf(const QAction *action)
{
    for (QObject *user : action->associatedObjects()) {
        if (auto *menu = qobject_cast<QMenu *>(user))
            return menu;
    }
    return nullptr;
}

QAccessibleInterface *describedMenuItem(const QString &className, QObject *object)
{
    if (className != u"QAction")
        return nullptr;
    auto *action = static_cast<QAction *>(object);
    QMenu *menu = menuOf(action);
    if (!menu || HintText::of(action).isEmpty())
        return nullptr;
    return new AccessibleMenuItem(menu, action);
}

} // namespace

AccessibleMenuItem::AccessibleMenuItem(QMenu *menu, QAction *action)
    : QAccessibleObject(action), m_menu(menu)
{
}

void AccessibleMenuItem::install()
{
    static bool installed = false;
    if (installed)
        return;
    QAccessible::installFactory(describedMenuItem);
    installed = true;
}

QAction *AccessibleMenuItem::action() const
{
    return static_cast<QAction *>(object());
}

bool AccessibleMenuItem::isValid() const
{
    return QAccessibleObject::isValid() && m_menu;
}

QAccessibleInterface *AccessibleMenuItem::parent() const
{
    return QAccessible::queryAccessibleInterface(m_menu);
}

QAccessibleInterface *AccessibleMenuItem::child(int) const
{
    return nullptr;
}

int AccessibleMenuItem::childCount() const
{
    return 0;
}

int AccessibleMenuItem::indexOfChild(const QAccessibleInterface *) const
{
    return -1;
}

QString AccessibleMenuItem::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return withoutMnemonic(action()->text());
    case QAccessible::Description:
        // Shown whole in the hint line while the item is highlighted, and read whole.
        return HintText::of(action());
    case QAccessible::Accelerator:
        return mnemonic(action()->text());
    default:
        return QString();
    }
}

QRect AccessibleMenuItem::rect() const
{
    if (!m_menu || !m_menu->isVisible())
        return QRect();
    const QRect place = m_menu->actionGeometry(action());
    return place.translated(m_menu->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role AccessibleMenuItem::role() const
{
    return action()->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State AccessibleMenuItem::state() const
{
    QAccessible::State state;
    const QAction *item = action();
    state.invisible = !m_menu || !m_menu->isVisible() || !item->isVisible();
    state.focusable = !item->isSeparator();
    state.focused = m_menu && m_menu->activeAction() == item;
    state.hotTracked = true;
    state.disabled = item->isSeparator() || !item->isEnabled();
    state.checkable = item->isCheckable();
    state.checked = item->isChecked();
    return state;
}

void *AccessibleMenuItem::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList AccessibleMenuItem::actionNames() const
{
    if (action()->isSeparator())
        return {};
    return {pressAction()};
}

void AccessibleMenuItem::doAction(const QString &actionName)
{
    if (actionName == pressAction() && action()->isEnabled() && !action()->isSeparator())
        action()->trigger();
}

QStringList AccessibleMenuItem::keyBindingsForAction(const QString &actionName) const
{
    const QString key = mnemonic(action()->text());
    if (actionName != pressAction() || key.isEmpty())
        return {};
    return {key};
}
