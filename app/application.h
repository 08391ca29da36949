#pragma once

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>

class HintTracker;

// The one application object: title and help file name, the hidden application window
// by which running copies recognise each other, the current hint with its change
// signal, the tooltip switch, the cursor table, the idle hook and the exception report.
class Application : public QApplication, private QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    enum { HandCursor = 1, DragCursor = 14001 };

    // argc/argv must hold the program name only: the command line is never read.
    Application(int &argc, char **argv);
    ~Application() override;

    static Application *instance();

    // Read back from the application window's caption, as every user of the title does.
    QString title() const;
    void setTitle(const QString &title);
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString &name) { m_helpFile = name; }
    quint32 applicationWindow() const { return m_applicationWindow; }

    QWidget *mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget *window);

    QString hint() const { return m_hint; }
    void setHint(const QString &hint);
    bool showHint() const { return m_showHint; }
    void setShowHint(bool on);

    // Help requests, passed with the help file name and the main window to the help
    // engine in place; false when the name is empty or no engine accepts the request.
    enum HelpCommand { HelpContext = 1, HelpQuit = 2, HelpContents = 3 };
    using HelpEngineHook = std::function<bool(QWidget *mainWindow, const QString &file,
                                              HelpCommand command, int data)>;
    void setHelpEngine(const HelpEngineHook &engine) { m_helpEngine = engine; }
    bool helpCommand(HelpCommand command, int data);
    bool helpContext(int context) { return helpCommand(HelpContext, context); }

    QCursor cursor(int number) const { return m_cursors.value(number, QCursor(Qt::ArrowCursor)); }
    void setCursor(int number, const QCursor &cursor) { m_cursors.insert(number, cursor); }

    // Asks the instance that owns this application window to come forward.
    static void requestActivation(quint32 applicationWindow);
    // Restores, raises and activates the program's modal window, or else the window the
    // user worked in last.
    void bringForward();

    // Shows the main window and runs the loop until terminate(); returns the exit code.
    int run();
    // Ends every loop running, and the run loop before it starts (an end asked for
    // during start-up, under a message box, still ends the program).
    void terminate();

    // Runs one handler; what it throws is reported and the program goes on.
    static void guard(const std::function<void()> &handler);
    void showException(const std::exception &error);
    static QString reportText(const std::exception &error);
    // The report for a failure that escapes start-up; the caller then exits with 1.
    static void showLastChanceReport(const std::exception &error);
    static QString lastChanceText(const std::exception &error);

    bool notify(QObject *receiver, QEvent *event) override;

signals:
    void hintChanged();
    void showHintChanged(bool on);
    // The queue has become empty; the hint under the mouse is recomputed here.
    void idle();

private:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    QWidget *windowToActivate() const;

    quint32 m_applicationWindow = 0;
    quint32 m_activationRequest = 0; // the message type, interned once for the event filter
    QString m_title; // used where there is no X server to hold it
    QString m_helpFile;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_lastActiveWindow;
    QString m_hint;
    bool m_showHint = true;
    bool m_terminated = false;
    QHash<int, QCursor> m_cursors;
    HelpEngineHook m_helpEngine;
    std::unique_ptr<HintTracker> m_hintTracker;
};
