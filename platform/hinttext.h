#pragma once

#include <QString>

class QObject;
class QWidget;

// A hint is one text "short part|long part": the short part is the tooltip, the long
// part goes to the hint line; a text without "|" serves whole as both. Hints are kept
// on widgets and menu actions as a dynamic property, so Qt's own tooltips stay unused;
// screen readers are told them too.
class HintText
{
public:
    static void set(QObject *object, const QString &hint);
    static QString of(const QObject *object);
    // The widget's own hint, else that of the nearest enclosing widget that has one, up
    // to its window; empty when none has one or there is no widget.
    static QString inherited(const QWidget *widget);
    // Whether tooltips show for a widget: its own setting, else its parent's, up to the
    // window; off where nothing is set.
    static void setShowHint(QObject *object, bool on);
    static bool showsHint(const QObject *object);

    static QString shortPart(const QString &hint);
    static QString longPart(const QString &hint);
};
