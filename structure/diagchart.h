#pragma once

// What the chart under the diagonal tables draws, built without widgets:
// every rib of the half wing as a vertical line of 0.35 of its chord on a
// common base at y = 0 (tops upward, at negative y, as on screen), in plan
// units, with its number, and the diagonals of
// tables D1 and D2 as the generation builds them (Diagonal_Plan), from the
// height on the start rib to the height on the partner rib. A connected row
// that builds no diagonal is drawn as the plan has it (to the next rib at
// that rib's height), marked as skipped, and its reason is listed.

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

class ParaStruct;

struct DiagonalChartLabel {
    QPointF at;   // the rib's end the number stands by: the bottom of an even rib, the top of an odd one
    bool above;   // the number stands above that point (odd ribs), or below it
    QString text;
};

struct DiagonalChartLine {
    QLineF line;
    int table = 1; // 1 for D1, 2 for D2
};

struct DiagonalChart {
    QList<QLineF> ribLines; // verticals, top and bottom chains
    QList<DiagonalChartLabel> ribNumbers;
    QList<DiagonalChartLine> built;
    QList<DiagonalChartLine> skipped;
    // Why the skipped rows build nothing, one per reason: "no diagonal
    // starts from rib 15 outwards (D1 rib 16, D2 rib 15)".
    QStringList notes;
};

// The chart (nothing without ribs). The view fits it to its size.
DiagonalChart Diagonal_Chart(const ParaStruct* design);
// Its notes alone.
QStringList Diagonal_Chart_Notes(const ParaStruct* design);
