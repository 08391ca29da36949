#include "application.h"
#include "principale.h"

#include <exception>
#include <memory>

int main(int, char **argv)
{
    // The command line is never read: Qt sees the program name only, so none of its
    // own options (-platform, -style, ...) can be given either.
    int argumentCount = 1;
    char *arguments[] = {argv[0], nullptr};
    std::unique_ptr<Application> application;
    try {
        application = std::make_unique<Application>(argumentCount, arguments);
        application->setTitle(QStringLiteral("Morphocalcule"));
        application->setHelpFile(QStringLiteral("Corpidex.hlp"));
        Principale principale;
        return application->run();
    } catch (const std::exception &error) {
        Application::showLastChanceReport(error);
        return 1;
    }
}
