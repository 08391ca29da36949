#pragma once

#include <QAccessibleObject>
#include <QPointer>

class QAction;
class QMenu;

// What a screen reader learns of an item of a popup menu: Qt's own menu items tell
// their caption only; this one also gives the item's hint as its description.
class AccessibleMenuItem : public QAccessibleObject, public QAccessibleActionInterface
{
public:
    AccessibleMenuItem(QMenu *menu, QAction *action);

    // Makes every menu item that carries a hint described by it from now on.
    static void install();

    bool isValid() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QAction *action() const;

    const QPointer<QMenu> m_menu;
};
