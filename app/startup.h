#pragma once

#include <QWidget>
#include <functional>
#include <memory>

// The program's start-up and run loop: the application object from the program name
// alone, its title and help file, the main window, the loop, the exit code (0 also when
// the instance guard stops a second instance while the main window is built). A failure
// that escapes all this outside the main window's creation handler gets the
// last-chance report and exit code 1.
class Startup
{
public:
    using MainWindowFactory = std::function<std::unique_ptr<QWidget>()>;

    static int run(char *programName, const MainWindowFactory &createMainWindow);
};
