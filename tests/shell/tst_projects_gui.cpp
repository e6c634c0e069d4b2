#include "mainwindowrunner.h"

int main(int argc, char** argv)
{
    return runMainWindowTests(argc, argv,
                              {"newProject", "newCancelledChangesNothing", "newWithoutTemplateWarns",
                               "openAcceptedProject", "openRefusals", "openUnreadableKeepsProgram",
                               "inconsistentDesignLinesStayOnDisk", "saveAsMovesTheProject",
                               "failedSaveIsReported", "exitFollowsThePrompt"});
}

#include "moc_mainwindowtests.cpp"
