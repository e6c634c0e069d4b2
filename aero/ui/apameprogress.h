#pragma once

// The window shown while the outside solver runs: what the solver last said
// of its progress, the elapsed time and a Cancel button that stops the
// solver. The window is modal but the event
// loop goes on, so the program keeps drawing while it waits.

#include "aero/apamerun.h"

#include "ui_apameprogress.h"

#include <QDialog>
#include <QTimer>

class ApameProgressDialog : public QDialog, private Ui::ApameProgress
{
    Q_OBJECT

public:
    ApameProgressDialog(ApameRun* run, QWidget* parent = nullptr);

    // Closing the window cancels the run; the window goes when the solver
    // has ended.
    void reject() override;

private slots:
    void on_cancelButton_clicked();

private:
    void showElapsed();

    ApameRun* run_;
    QTimer tick_;
};

// Runs the solver on casePath under the progress window and returns when it
// has ended. A solver that cannot start, fails or leaves no usable results
// is reported to the user; a cancelled run is not.
ApameOutcome Run_Solver_With_Progress(QWidget* parent, const QString& casePath, const ParaStruct* design, GlobClass* glob,
                                      ApameRes* res, const QString& programDir = QString());

// The analysis run of the CFD dialog: writes "wings.inp" into the project
// output directory from the design's chordwise stations (velocity order 2,
// the smooth or the inflated model), then runs the solver on it under the
// progress window. A failed write is reported and nothing is run.
ApameOutcome Run_Apame_Analysis(QWidget* parent, ParaStruct* design, GlobClass* glob, ApameRes* res, bool smooth,
                                const QString& programDir = QString());
