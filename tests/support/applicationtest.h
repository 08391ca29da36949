#pragma once

#include "application.h"

#include <QTest>

// A test main that runs the suite inside the program's own application object, built
// from the program name only, as the program builds it.
#define MORPHO_APPLICATION_TEST_MAIN(TestObject)                                             \
    int main(int argc, char *argv[])                                                         \
    {                                                                                        \
        int applicationArgc = 1;                                                             \
        char *applicationArgv[] = {argv[0], nullptr};                                        \
        Application app(applicationArgc, applicationArgv);                                   \
        app.setTitle(QStringLiteral("Morphocalcule"));                                       \
        app.setHelpFile(QStringLiteral("Corpidex.hlp"));                                     \
        TestObject test;                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                           \
        return QTest::qExec(&test, argc, argv);                                              \
    }
