#include "mainwindowrunner.h"

int main(int argc, char** argv)
{
    return runMainWindowTests(argc, argv,
                              {"newProject", "newCancelledChangesNothing", "newWithoutTemplateWarns",
                               "openAcceptedProject", "openRefusals", "openRefusesNonFiniteNumbers", "openUnreadableKeepsProgram",
                               "inconsistentDesignLinesStayOnDisk", "cutDesignLinesAreReported", "saveAsMovesTheProject",
                               "failedSaveIsReported", "exitFollowsThePrompt"});
}

#include "moc_mainwindowtests.cpp"
