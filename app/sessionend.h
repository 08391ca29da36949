#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the program at once, with exit code 0 and without the closing steps (no help
// command, no saving), when the desktop session ends (the session manager's quit) or
// when the process receives SIGTERM or SIGHUP. One at a time per process.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    SessionEnd();
    ~SessionEnd() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void onSignal(int number);
    void endNow();

    QSocketNotifier *m_notifier = nullptr;
};
