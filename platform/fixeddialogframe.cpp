#include "fixeddialogframe.h"

#include "screencentre.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {

class FirstShowCentring : public QObject
{
public:
    explicit FirstShowCentring(QWidget *window) : QObject(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            FixedDialogFrame::centreOnScreen(static_cast<QWidget *>(watched));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

Qt::WindowFlags FixedDialogFrame::flags(Qt::WindowType type)
{
    return type | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}

void FixedDialogFrame::centreOnScreen(QWidget *window)
{
    window->move(ScreenCentre::topLeft(window));
}

void FixedDialogFrame::centreWhenFirstShown(QWidget *window)
{
    window->installEventFilter(new FirstShowCentring(window));
}
