#include "startup.h"

#include "application.h"
#include "helpengine.h"
#include "instanceguard.h"
#include "pixelart.h"
#include "sessionend.h"

#include <QPointer>
#include <exception>

int Startup::run(char *programName, const MainWindowFactory &createMainWindow)
{
    // Qt sees the program name only, so none of its own options can be given either.
    int argumentCount = 1;
    char *arguments[] = {programName, nullptr};
    std::unique_ptr<Application> application;
    try {
        application = std::make_unique<Application>(argumentCount, arguments);
        const SessionEnd sessionEnd;
        application->setTitle(QStringLiteral("Morphocalcule"));
        application->setHelpFile(QStringLiteral("Corpidex.hlp"));
        // Its windows must go before the application, and the main window, which asks it
        // to quit as it closes, before it.
        HelpEngine helpEngine;
        application->setHelpEngine([engine = QPointer(&helpEngine)](
                                       QWidget *mainWindow, const QString &file,
                                       Application::HelpCommand command, int data) {
            return engine && engine->request(file, HelpEngine::Command(command), data, mainWindow);
        });
        Q_INIT_RESOURCE(about);
        application->setWindowIcon(PixelArt::icon(QStringLiteral(":/MAINICON")));
        const std::unique_ptr<QWidget> mainWindow = createMainWindow();
        return application->run();
    } catch (const InstanceGuard::AnotherInstanceRuns &) {
        return 0;
    } catch (const std::exception &error) {
        Application::showLastChanceReport(error);
        return 1;
    }
}
