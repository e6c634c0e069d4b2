#pragma once

// The "CFD analysis" window: the canopy's panels coloured by pressure
// coefficient with the colour legend, the centre rib with the chordwise mesh
// stations, the settings of a run (smooth or inflated model, twist, twist
// axis, line drag), RECALCULATE, which meshes the canopy, writes the
// solver's input, runs the solver and reads its results, the case slider
// (angle of attack 0 to 12 degrees) and the glide polar.
//
// Created once by the main window and shown, modeless, from its "CFD
// analysis" action; Exit hides it. Showing it takes the design's values as
// they are (the pilot and line constants of the polar included) and reads
// the last results of the project.

#include "aero/ui/wpolar.h"

#include "ui_apamedialog.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class ApameRes;
class GlobClass;
class ParaStruct;

class ApameDialog : public QDialog, public Ui::ApameDialog
{
    Q_OBJECT

public:
    explicit ApameDialog(QWidget* parent = nullptr);

    // Where the solver program lies; the current directory (the application
    // directory) unless set.
    void setSolverDir(const QString& dir) { solverDir = dir; }
    // The polar window opened last, while it is open.
    WPolar* polarWindow() const { return polar; }
    // Whether the polar counts the lines' drag.
    bool countsLines() const { return withBridleData; }

    void initApamedialog();
    void ShowCurrentModel();
    // Recomputes the design, then hides the dialog.
    void quit();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_apameButton_pressed();
    void on_exitButton_pressed();
    void on_attackangleSlider_valueChanged(int value);
    void on_polarButton_pressed();
    void on_maxtwistangleEdit_editingFinished();
    void on_bridle_checkBox_toggled(bool checked);

private:
    // The twist and the alignment fields into the design, or their refusal
    // (false); a field showing the design's value leaves it as it is.
    bool takeTwist();
    bool takeAlignment();

    ParaStruct* design;
    GlobClass* glob;
    ApameRes* results;
    QPointer<WPolar> polar;
    QString solverDir;
    // Whether the polar counts the lines' drag (the line-data box).
    bool withBridleData = true;
};
