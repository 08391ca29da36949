#include "floorwindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    // The window's WM_CLASS class, by which the benchmark's driver finds it.
    QCoreApplication::setApplicationName(QStringLiteral("MorphoFloor"));
    FloorWindow window;
    window.show();
    return application.exec();
}
