#include "hinttracker.h"

#include "application.h"
#include "hinttext.h"
#include "pointerwatch.h"
#include "tooltiptracker.h"
#include "widgetunderpointer.h"

#include <QMenu>

HintTracker::HintTracker(Application *application)
    : QObject(application), m_application(application), m_tooltips(new TooltipTracker(this)),
      m_pointer(new PointerWatch(this))
{
    m_tooltips->setEnabled(application->showHint());
    connect(application, &Application::showHintChanged, this, [this](bool on) {
        m_tooltips->setEnabled(on);
        m_pointer->markChanged();
    });
    connect(application, &Application::idle, this, &HintTracker::update);
}

void HintTracker::update()
{
    // A menu item's hint is shown whole; a separator has none.
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
        m_menuShown = true;
        m_application->setHint(HintText::of(menu->activeAction()));
        m_tooltips->track(nullptr);
        return;
    }
    if (m_menuShown) {
        // The highlight leaves the items as the menu closes.
        m_menuShown = false;
        m_application->setHint(QString());
        m_pointer->markChanged();
    }
    if (!m_pointer->takeChange())
        return;

    QWidget *underMouse = WidgetUnderPointer::find();
    const QString hint = HintText::inherited(underMouse);
    if (hint != m_lastHint || m_application->hint() != m_lastLongPart) {
        m_lastHint = hint;
        m_lastLongPart = HintText::longPart(hint);
        m_application->setHint(m_lastLongPart);
    }
    m_tooltips->track(underMouse);
}
