#pragma once

class QObject;
class QWidget;

// Hints told to screen readers: over a control a reader says its name, then its long
// hint as the description ("Taille — Entrer votre taille en cm (mini 100 cm).").
// A control that shows a caption (a label, a button) is named by it; any other takes
// the short part of its hint, or of the hint it inherits from an enclosing control. A
// hint without a long part still describes a captioned control by its short part, as
// the tooltip would ("Ok — Refermer cet écran"). Popup menu items are named by their
// caption and described by their hint.
class AccessibleHint
{
public:
    // Called whenever an object's hint is set: a widget and the controls inside it
    // that inherit its hint are described anew.
    static void expose(QObject *object);

private:
    static void describeTree(QWidget *widget);
    static void describe(QWidget *widget);
};
