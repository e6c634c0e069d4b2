#pragma once

// The window "aerodynamics - flow analysis": the glide polar of the current
// design as a printable text table with one of six charts, and the pilot and
// line constants it is computed with as fields. Every refresh stores the
// fields in the design first, so table, chart and design always agree with
// them. The polar itself is the window's: computed from the design and the
// results, the lines counted as the CFD dialog says. The CFD dialog opens a
// new window on every press of "Polar preview"; the window blocks the CFD
// dialog while it is open and goes when it is closed.

#include "aero/polar.h"

#include "ui_polardialog.h"

#include <QDialog>
#include <QFont>
#include <QList>

class ApameRes;
class ParaStruct;

class WPolar : public QDialog, public Ui::PolarDialog
{
    Q_OBJECT

public:
    // countLines: whether the polar counts the lines' drag.
    explicit WPolar(QWidget* parent = nullptr, bool countLines = false);
    ~WPolar() override;

    void Set_Values();
    void Get_Values();
    void ShowCurrentModel();
    void RefreshAll();
    const QList<CalageClass>& rows() const { return polar.rows; }
    const Polar& shownPolar() const { return polar; }
    // False when the window closed itself while it was built (no wing).
    bool isUsable() const { return usable; }

public slots:
    void PrintPolar_BaseTable();

private slots:
    void on_cdButton_clicked();
    void on_clButton_clicked();
    void on_cindButton_clicked();
    void on_cd_clButton_clicked();
    void on_cmButton_clicked();
    void on_VyVxButton_clicked();
    void on_recalculatetableButton_pressed();
    void on_exitButton_pressed();
    void on_oswaldEdit_editingFinished();
    void on_pilotshiftprocEdit_editingFinished();
    void on_defaultsButton_clicked();

private:
    void showChart(int kind);
    void writeTable(const QString& emptyReason);

    ParaStruct* design;
    ApameRes* results;
    QFont tableFont;
    bool withBridleData = false;
    Polar polar;
    bool usable = true;
    bool problemShown = false;
};
