#include "mainwindowtests.h"

// Runs the named test functions of TestMainWindow.
inline int runMainWindowTests(int argc, char** argv, const QStringList& functions)
{
    QApplication app(argc, argv);
    TestMainWindow tests;
    QStringList args = {app.arguments().value(0)};
    args += app.arguments().mid(1).isEmpty() ? functions : app.arguments().mid(1);
    return QTest::qExec(&tests, args);
}
