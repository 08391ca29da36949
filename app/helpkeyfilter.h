#pragma once

#include <QObject>

// F1 for every window of the program: over a window it asks for the first non-zero
// help context from the focus widget outwards, and for none when there is none; on a
// highlighted popup-menu item it asks for the item's context, 0 included. Every F1 ends
// here, so nothing of Qt's own help handling ever sees one.
class HelpKeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit HelpKeyFilter(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void requestHelp(QWidget *receiver);
};
