#include "tests/shell/mainwindowtests.h"

#include <QMetaMethod>
#include <cstdio>

// The main-window tests run in two programs side by side, each taking one of
// these halves. Every test function must be in one of them: a test that no
// program runs fails both.
inline const QStringList kStartupTests = {
    "startUp", "termsDialogForm", "menusAndToolbar", "iconsLoad", "openWithTermsRefused",
    "companionProgramIsAwaited", "scaledModel", "scaledModelNameKeepsFolders",
    "saveWithoutProjectAsksForAName", "failedScaledSaveIsOneMessage", "scaledModelTakesOnlyAreasOfAWing"};
inline const QStringList kProjectTests = {
    "newProject", "newCancelledChangesNothing", "templateWithoutDesignLines", "newWithoutTemplateWarns",
    "openAcceptedProject", "openAfterSaveAs", "openTellsOfUnreadBytes", "openRefusals", "openRefusesNonFiniteNumbers", "openUnreadableKeepsProgram",
    "inconsistentDesignLinesStayOnDisk", "cutDesignLinesAreReported", "saveAsMovesTheProject",
    "failedSaveIsReported", "exitFollowsThePrompt", "saveIsAllOrNothing", "failedSaveAsKeepsEveryFile",
    "damagedProjectSaysWhy", "statusBarDoesNotGrow", "failedNewIsOneMessage", "nextProjectStartsClean",
    "saveRefusesWhatOpenWouldRefuse", "openingAStaleLinePlan"};

// Test functions of TestMainWindow that neither half names (and names in a
// half that are no test function).
inline QStringList unlistedMainWindowTests()
{
    const QStringList fixtures = {"initTestCase", "cleanupTestCase", "init", "cleanup"};
    QStringList functions;
    const QMetaObject& meta = TestMainWindow::staticMetaObject;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Private
            && !fixtures.contains(QString::fromLatin1(m.name())) && !m.name().endsWith("_data"))
            functions << QString::fromLatin1(m.name());
    }
    QStringList problems;
    const QStringList listed = kStartupTests + kProjectTests;
    for (const QString& f : functions)
        if (!listed.contains(f))
            problems << f + " (runs nowhere)";
    for (const QString& f : listed)
        if (!functions.contains(f))
            problems << f + " (no such test)";
    return problems;
}

// Runs the named test functions of TestMainWindow.
inline int runMainWindowTests(int argc, char** argv, const QStringList& functions)
{
    QApplication app(argc, argv);
    const QStringList unlisted = unlistedMainWindowTests();
    if (!unlisted.isEmpty()) {
        std::fprintf(stderr, "FAIL: main-window test lists out of date: %s\n",
                     qPrintable(unlisted.join(", ")));
        return 1;
    }
    TestMainWindow tests;
    QStringList args = {app.arguments().value(0)};
    args += app.arguments().mid(1).isEmpty() ? functions : app.arguments().mid(1);
    return QTest::qExec(&tests, args);
}
