#pragma once

#include <QObject>

// Lets one instance run on the X server. Built with the main window, it looks for other
// application windows of the same class and caption; when there is one, it asks that
// instance to come forward and throws AnotherInstanceRuns, which ends start-up with
// exit code 0 before the main window is shown or its creation handler runs.
class InstanceGuard : public QObject
{
    Q_OBJECT

public:
    struct AnotherInstanceRuns
    {
    };

    explicit InstanceGuard(QObject *owner);
};
