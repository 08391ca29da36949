#include "helpkeyfilter.h"

#include "application.h"
#include "helpcontext.h"

#include <QKeyEvent>
#include <QMenu>

HelpKeyFilter::HelpKeyFilter(QObject *parent) : QObject(parent) {}

bool HelpKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    // A key reaches the window object first and the widget after it; only the widget counts.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (key->key() != Qt::Key_F1 || !widget)
        return false;
    // Accepted, the override keeps F1 from any shortcut.
    key->accept();
    const Qt::KeyboardModifiers modifiers =
        key->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
    if (type == QEvent::KeyPress && !key->isAutoRepeat() && modifiers == Qt::NoModifier)
        requestHelp(widget);
    return true;
}

void HelpKeyFilter::requestHelp(QWidget *receiver)
{
    Application *app = Application::instance();
    if (!app)
        return;
    if (auto *menu = qobject_cast<QMenu *>(receiver->window())) {
        QAction *item = menu->activeAction();
        if (item && !item->isSeparator() && QApplication::activeWindow())
            app->helpContext(HelpContext::forMenuItem(menu, item));
        return;
    }
    // The key goes to the focus widget, or to the window when nothing in it has the focus.
    if (const int context = HelpContext::forWidget(receiver))
        app->helpContext(context);
}
