#include "sessionend.h"

#include "application.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int EndingSignals[] = {SIGTERM, SIGHUP};
int signalPipe[2] = {-1, -1};

} // namespace

SessionEnd::SessionEnd()
{
    // The signal handler only writes a byte; the ending itself runs in the event loop.
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char drained[64];
            while (::read(signalPipe[0], drained, sizeof drained) > 0) {
            }
            endNow();
        });
        struct sigaction action = {};
        action.sa_handler = &SessionEnd::onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int number : EndingSignals)
            ::sigaction(number, &action, nullptr);
    }
    // The session manager's quit arrives as a quit event; Qt would first try to close
    // the windows, which would run the closing steps.
    QCoreApplication::instance()->installEventFilter(this);
}

SessionEnd::~SessionEnd()
{
    for (int number : EndingSignals)
        ::signal(number, SIG_DFL);
    delete m_notifier;
    for (int &fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SessionEnd::onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

bool SessionEnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        endNow();
        return true;
    }
    return false;
}

void SessionEnd::endNow()
{
    if (Application *app = Application::instance())
        app->terminate();
    else
        QCoreApplication::exit(0);
}
