#pragma once

// Diagonal ribs: the routines that keep the index tables consistent and the
// generation of the diagonal list from the two diagonal tables, one step of
// the recompute.
//
// Names of the design record used here: diagTableD1 / diagTableD2 (one row
// per rib), diagStartIndexA / diagStartIndexB (first and last upper index a
// diagonal end uses), diagRowIndexA (upper indexes of the tab tops, two per
// bottom row), diagRowIndexB (lower indexes of the plane view's shapes),
// diagIndexTableA (lower band per bottom row and rib; diagIndexTableB holds
// a copy), diagBottomWidth (tab width in percent), diagTableRows (band
// half-widths in airfoil points), diagModelPoints / diagModelFlags /
// diagModelTriangle / diagModelPolys / diagModelOutline[0..3] (the
// cross-port model: points, "line D" and spare flags, hole triangle, holes,
// trapeze), seamAllowance[3] (the diagonals' seam allowance in mm).

#include "core/structuredata.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QVector3D>

class ParaStruct;

// diagStartIndexA := 10, diagStartIndexB := rib 1's nose index - 10.
void init_Diag_StartIndex(ParaStruct* design);
// diagTableRows[b][r] := round(rib_glob_factor(r) x 0.01 x diagBottomWidth)
// for the four bottom rows and ribs firstRib .. lastRib - 1.
void Set_All_DiagBottomWidth(ParaStruct* design);
// The plane view's commit: start indexes, the lower band, then the eight
// lower and upper indexes.
void update_Diagonal_Main(ParaStruct* design, const int* lower, const int* upper);

// For each element in order, the first k whose idx[k] lies within one of the
// element's index gets out[k] := its point (later elements win); outputs no
// element matches keep their value.
void set_index_tpnt(const QList<OrigPnt2D>& list, const int* idx, QPointF* out);
void set_index_3d_tpnt(const QList<OrigPnt3D>& list, const int* idx, QVector3D* out);

// The recompute's diagonal step: nothing while rib 0 has no airfoil;
// otherwise the list is rebuilt from table D1 then table D2, every record
// flattened, and the cross-port model's holes renewed.
void Generate_All_Diagonals(ParaStruct* design);

// One connected row of a diagonal table ("connect to next rib" set), as the
// generation takes it: the diagonal it starts, or why it starts none.
struct DiagonalPlanEntry {
    int row = 0;          // the table row, one per rib of the half wing
    bool built = false;   // a diagonal starts here
    DiagonalEnd start;    // the row's rib and height
    DiagonalEnd end;      // built: the partner row's rib and height
    QString reason;       // not built: why, for the user ("no diagonal starts from rib 15 outwards")
};

// The connected rows 0 .. lastRib of a table in ascending order, each with
// the diagonal the generation builds from it or the reason it builds none.
// A start row with connectNext and height 0 or 100 pairs with the first
// later row of the other extreme; starts run from firstRib to lastRib - 3
// and partners end at lastRib - 2 at the furthest, so the two cells next to
// the tip never carry one. Rows whose rib is not one of firstRib ..
// lastRib - 1 (a table never stored by the dialog) take no part.
QList<DiagonalPlanEntry> Diagonal_Plan(const ParaStruct* design, const DiagonalRow* table);

// Appends the diagonals of one table: those Diagonal_Plan builds.
void Read_DiagData1(ParaStruct* design);
void Read_DiagData2(ParaStruct* design);

// The two 3-D edge lines of a record whose ends are set: the top end along
// the upper surface, the bottom end along the lower surface, both from the
// trailing edge toward the nose, at rib 1's index positions.
void Create_Pnt_3D_List(ParaStruct* design, DiagonalData* diagonal);
// {ribCurves3D[rib][i], i} for i = from .. to (up) or from .. to downwards
// (dw); empty when the range runs the other way. Indexes outside the rib
// curve are left out.
QList<OrigPnt3D> create_listup(const ParaStruct* design, int rib, int from, int to);
QList<OrigPnt3D> create_listdw(const ParaStruct* design, int rib, int from, int to);

// Flattens every record (their flat controls renewed).
void Unfold_All_Diagonals(ParaStruct* design);
// Flattens one record: flatEdgeA from the origin, flatEdgeB from the positive
// x axis, each point laid out from the previous pair by its 3-D triangle.
void Unfold_One_Diagonal(const ParaStruct* design, DiagonalData* diagonal);
OrigPnt2D Insert_OrigPnt2D(const ParaStruct* design, QPointF p, int index, int rib, double allowance);

// Renews the cross-port model's holes and its trapeze from the stored model.
void setup_model_cross_port(ParaStruct* design);
