#include "application.h"

#include "cursorresource.h"
#include "error.h"
#include "helpkeyfilter.h"
#include "hinttracker.h"
#include "x11window.h"

#include <QAbstractEventDispatcher>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

QString demangledTypeName(const std::exception &error)
{
    const char *mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, decltype(&free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &free);
    return QString::fromLatin1(status == 0 && name ? name.get() : mangled);
}

QString executableFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

constexpr char ActivationRequest[] = "_MORPHOCALCULE_ACTIVATE";

} // namespace

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
    // Until the title is set, the application window is named after the executable.
    m_title = QFileInfo(applicationFilePath()).completeBaseName();
    m_applicationWindow = X11Window::createHidden(m_title.toLocal8Bit(), "TApplication", m_title);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &Application::idle);
    installEventFilter(new HelpKeyFilter(this));
    m_hintTracker = std::make_unique<HintTracker>(this);
    // The program's own pictures and cursors; the tool bar's drag cursor is in the
    // cursor table before any window exists.
    Q_INIT_RESOURCE(resources);
    setCursor(DragCursor, CursorResource::load(QStringLiteral(":/SB_DRAG"), QPoint(15, 16)));
    connect(this, &QGuiApplication::focusWindowChanged, this, [this] {
        if (QWidget *active = activeWindow())
            m_lastActiveWindow = active;
    });
    if (m_applicationWindow) {
        m_activationRequest = X11Window::atom(ActivationRequest);
        installNativeEventFilter(this);
    }
}

Application::~Application()
{
    X11Window::destroy(m_applicationWindow);
}

Application *Application::instance()
{
    return qobject_cast<Application *>(QCoreApplication::instance());
}

QString Application::title() const
{
    return X11Window::available() ? X11Window::caption(m_applicationWindow) : m_title;
}

void Application::setTitle(const QString &title)
{
    // Not Qt's display name: Qt would append it to every other window's caption.
    m_title = title;
    X11Window::setCaption(m_applicationWindow, title);
}

void Application::setMainWindow(QWidget *window)
{
    if (!m_mainWindow)
        m_mainWindow = window;
}

void Application::setHint(const QString &hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    emit hintChanged();
}

void Application::setShowHint(bool on)
{
    if (on == m_showHint)
        return;
    m_showHint = on;
    emit showHintChanged(on);
}

bool Application::helpCommand(HelpCommand command, int data)
{
    if (m_helpFile.isEmpty() || !m_helpEngine)
        return false;
    return m_helpEngine(m_mainWindow, m_helpFile, command, data);
}

void Application::requestActivation(quint32 applicationWindow)
{
    X11Window::sendClientMessage(applicationWindow, X11Window::atom(ActivationRequest));
}

bool Application::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" ||
        !X11Window::isClientMessage(message, m_applicationWindow, m_activationRequest))
        return false;
    bringForward();
    return true;
}

// An open modal window blocks all others, so it is the one to come forward.
QWidget *Application::windowToActivate() const
{
    if (QWidget *modal = activeModalWidget())
        return modal;
    if (m_lastActiveWindow && m_lastActiveWindow->isVisible())
        return m_lastActiveWindow;
    return m_mainWindow;
}

void Application::bringForward()
{
    QWidget *target = windowToActivate();
    if (!target || !target->isVisible())
        return;
    for (QWidget *window : {m_mainWindow.data(), target}) {
        if (window && window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
    if (m_mainWindow && m_mainWindow != target)
        m_mainWindow->raise();
    target->raise();
    target->activateWindow();
    // Without a window manager to ask, Qt sets the focus with the time of the last event
    // it saw, which the server ignores once another client has moved the focus since.
    if (!X11Window::windowManagerActivates())
        X11Window::setInputFocus(quint32(target->winId()));
}

int Application::run()
{
    if (m_terminated)
        return 0;
    if (m_mainWindow)
        m_mainWindow->show();
    return exec();
}

void Application::terminate()
{
    m_terminated = true;
    exit(0);
}

void Application::guard(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        if (Application *app = instance())
            app->showException(error);
    }
}

QString Application::reportText(const std::exception &error)
{
    return QString::fromUtf8(error.what()) + u'.';
}

void Application::showException(const std::exception &error)
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    QPointer<QWidget> active = activeWindow();
    QMessageBox box(QMessageBox::Critical, title(), reportText(error), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.winId();
    X11Window::setTransientFor(quint32(box.winId()), m_applicationWindow);
    box.exec();
    if (active)
        active->activateWindow();
}

QString Application::lastChanceText(const std::exception &error)
{
    const auto *ours = dynamic_cast<const Error *>(&error);
    const QString kind = ours ? QString::fromLatin1(ours->kind()) : demangledTypeName(error);
    const auto address = reinterpret_cast<quintptr>(ours ? ours->address() : nullptr);
    const QString message = QString::fromUtf8(error.what());
    const bool needsStop = !message.isEmpty() && !message.endsWith(u'.');
    return QStringLiteral("Exception %1 dans le module %2 à %3.\n%4%5")
        .arg(kind, executableFileName(),
             QStringLiteral("%1").arg(address, 16, 16, QChar(u'0')).toUpper(), message,
             needsStop ? QStringLiteral(".") : QString());
}

void Application::showLastChanceReport(const std::exception &error)
{
    if (!qApp) {
        fprintf(stderr, "Erreur de l'application\n%s\n", qPrintable(lastChanceText(error)));
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Erreur de l'application"),
                    lastChanceText(error), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        showException(error);
        return true;
    }
}
