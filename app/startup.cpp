#include "startup.h"

#include "application.h"
#include "sessionend.h"

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
        const std::unique_ptr<QWidget> mainWindow = createMainWindow();
        return application->run();
    } catch (const std::exception &error) {
        Application::showLastChanceReport(error);
        return 1;
    }
}
